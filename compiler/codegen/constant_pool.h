// The constant pool: every literal of the run, in order of first use. A
// literal is referenced by its position plus the constant base, so the same
// value written twice anywhere in the program shares one entry. Kinds never
// match each other: 1, .T. and "1" are three entries.
#pragma once

#include "../ast/containers.h"

class tConstant {
public:
    enum : int { kNumber = 0, kLogical = 1, kString = 2 };

    explicit tConstant(double number);
    tConstant(int kind, int logical);
    explicit tConstant(const char* text);
    ~tConstant();
    tConstant(const tConstant&) = delete;
    tConstant& operator=(const tConstant&) = delete;

    int kind;
    double number = 0;
    int logical = 0;
    char* text = nullptr;
};

class tConstantPool {
public:
    tConstantPool() = default;
    ~tConstantPool();

    // Each returns the entry's position (0-based), adding it when new.
    int internNumber(double value);
    int internLogical(int value);
    int internString(const char* text);

    const tArray<tConstant>& entries() const { return entries_; }
    int count() const { return entries_.count(); }
    // Frees every entry (once the context files are written).
    void clear();

private:
    tArray<tConstant> entries_;
};
