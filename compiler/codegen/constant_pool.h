// The constant pool: every literal of the run, in order of first use. A
// literal is referenced by its position plus the constant base, so the same
// value written twice anywhere in the program shares one entry. Kinds never
// match each other: 1, .T. and "1" are three entries. Each kind keeps an
// index of its values beside the entries, so interning costs the same at the
// hundred-thousandth literal as at the first.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

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
    // Numbers by their bits, with -0 filed under 0, which it equals.
    std::unordered_map<std::uint64_t, int> numbers_;
    int logicals_[2] = {-1, -1};
    std::unordered_map<std::string, int> strings_;
};

// The number as a C++ literal that reads back as the same double: the
// shortest of 15 to 17 significant digits that does.
std::string numberLiteral(double value);
