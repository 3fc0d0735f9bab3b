// Interning into the constant pool, and the text of a pooled number.
#include "constant_pool.h"

#include <cstdio>
#include <cstdlib>
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
    double key = value == 0 ? 0.0 : value;
    std::uint64_t bits;
    std::memcpy(&bits, &key, sizeof bits);
    auto found = numbers_.find(bits);
    if (found != numbers_.end())
        return found->second;
    int position = entries_.add(new tConstant(value));
    // NaN equals nothing, itself included, so it is never looked up again.
    if (value == value)
        numbers_.emplace(bits, position);
    return position;
}

int tConstantPool::internLogical(int value)
{
    int normal = value ? 1 : 0;
    if (logicals_[normal] < 0)
        logicals_[normal] = entries_.add(new tConstant(tConstant::kLogical, normal));
    return logicals_[normal];
}

int tConstantPool::internString(const char* text)
{
    if (!text)
        text = "";
    auto found = strings_.find(text);
    if (found != strings_.end())
        return found->second;
    int position = entries_.add(new tConstant(text));
    strings_.emplace(text, position);
    return position;
}

void tConstantPool::clear()
{
    entries_.deleteAll();
    numbers_.clear();
    logicals_[0] = logicals_[1] = -1;
    strings_.clear();
}

std::string numberLiteral(double value)
{
    char text[40];
    for (int digits = 15; digits <= 17; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, value);
        if (std::strtod(text, nullptr) == value)
            break;
    }
    return text;
}
