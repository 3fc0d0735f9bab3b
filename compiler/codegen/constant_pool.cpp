// Interning into the constant pool: a linear scan, first match wins.
#include "constant_pool.h"

#include <cstring>

tConstant::tConstant(double value) : kind(kNumber), number(value) {}

tConstant::tConstant(int, int value) : kind(kLogical), logical(value ? 1 : 0) {}

tConstant::tConstant(const char* value) : kind(kString)
{
    std::size_t length = std::strlen(value);
    text = new char[length + 1];
    std::memcpy(text, value, length + 1);
}

tConstant::~tConstant() { delete[] text; }

tConstantPool::~tConstantPool() { clear(); }

int tConstantPool::internNumber(double value)
{
    for (int i = 0; i < entries_.count(); ++i)
        if (entries_[i]->kind == tConstant::kNumber && entries_[i]->number == value)
            return i;
    return entries_.add(new tConstant(value));
}

int tConstantPool::internLogical(int value)
{
    int normal = value ? 1 : 0;
    for (int i = 0; i < entries_.count(); ++i)
        if (entries_[i]->kind == tConstant::kLogical && entries_[i]->logical == normal)
            return i;
    return entries_.add(new tConstant(tConstant::kLogical, normal));
}

int tConstantPool::internString(const char* text)
{
    if (!text)
        text = "";
    for (int i = 0; i < entries_.count(); ++i)
        if (entries_[i]->kind == tConstant::kString && std::strcmp(entries_[i]->text, text) == 0)
            return i;
    return entries_.add(new tConstant(text));
}

void tConstantPool::clear() { entries_.deleteAll(); }
