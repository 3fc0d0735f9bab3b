// The constant pool: pooled numbers read back as the same double, interning
// keeps its rules, and a pool of a hundred thousand entries still interns by
// value.
#include <cmath>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "ast/operators.h"
#include "codegen/constant_pool.h"
#include "codegen_support.h"

using namespace cgtest;

namespace {

TEST(NumberLiteral, ReadsBackAsTheSameDouble)
{
    struct {
        double value;
        const char* text;
    } cases[] = {
        {1, "1"},
        {1.5, "1.5"},
        {0.1, "0.1"},
        // Six decimals made both of these wrong programs.
        {0.0000001, "1e-07"},
        {2.000000000001, "2.000000000001"},
        {123456789012345678.0, "1.2345678901234568e+17"},
        {1e300, "1e+300"},
        {1.0 / 3, "0.3333333333333333"},
        {0.1 + 0.2, "0.30000000000000004"},
        {0, "0"},
    };
    for (const auto& c : cases) {
        std::string text = numberLiteral(c.value);
        EXPECT_EQ(std::strtod(text.c_str(), nullptr), c.value) << text;
        EXPECT_EQ(text, c.text);
    }
}

TEST(ConstantPool, InterningRules)
{
    tConstantPool pool;
    EXPECT_EQ(pool.internNumber(1), 0);
    EXPECT_EQ(pool.internNumber(1.0), 0) << "1 and 1.0 are one entry";
    EXPECT_EQ(pool.internLogical(1), 1);
    EXPECT_EQ(pool.internString("1"), 2) << "kinds never match each other";
    EXPECT_EQ(pool.internString("abc"), 3);
    EXPECT_EQ(pool.internString("ABC"), 4) << "strings are case-sensitive";
    EXPECT_EQ(pool.internNumber(-0.0), 5);
    EXPECT_EQ(pool.internNumber(0.0), 5) << "0 equals -0";
    EXPECT_EQ(pool.internLogical(7), 1) << "every true is .T.";
    EXPECT_EQ(pool.internLogical(0), 6);
    EXPECT_EQ(pool.internString(nullptr), 7);
    EXPECT_EQ(pool.internString(""), 7);
    pool.clear();
    EXPECT_EQ(pool.internString("abc"), 0) << "a cleared pool starts again";
    EXPECT_EQ(pool.internNumber(1), 1);
}

TEST(ConstantPool, HundredThousandEntriesInternByValue)
{
    tConstantPool pool;
    const int n = 100000;
    for (int i = 0; i < n; ++i) {
        ASSERT_EQ(pool.internString(("s" + std::to_string(i)).c_str()), 2 * i);
        ASSERT_EQ(pool.internNumber(i + 0.5), 2 * i + 1);
    }
    EXPECT_EQ(pool.count(), 2 * n);
    for (int i = 0; i < n; i += 997) {
        EXPECT_EQ(pool.internString(("s" + std::to_string(i)).c_str()), 2 * i);
        EXPECT_EQ(pool.internNumber(i + 0.5), 2 * i + 1);
    }
    EXPECT_EQ(pool.count(), 2 * n);
}

// Short plain decimals are read without strtod; every spelling must still
// give strtod's double, to the last bit.
TEST(NumberText, ReadsAsStrtodDoes)
{
    const char* const spellings[] = {
        "0",
        "7",
        "120",
        "00012",
        "1.",
        ".5",
        "0.1",
        "1.25",
        "2.675",
        "0.30000000000003",
        "3.14159265358979",
        "123456789012345",
        "99999999999999.9",
        "1234567890123456",
        "0.000000000000001",
        "1e3",
        "1.5.2",
        ".",
        "12a",
        "9007199254740993",
        "4.35",
        "1.005",
        "0.7",
    };
    for (const char* text : spellings) {
        tConst number(tConst::kNumber, text);
        EXPECT_EQ(number.number(), std::strtod(text, nullptr)) << text;
    }
}

using LiteralTest = CodegenTest;

// A literal beyond the double range cannot be written; it is reported, not
// handed on as "inf".
TEST_F(LiteralTest, NumberBeyondTheDoubleRangeIsAnError)
{
    std::string digits(500, '9');
    EXPECT_EQ(text(num(digits.c_str())), "");
    EXPECT_EQ(program.errorCount(), 1);
    EXPECT_EQ(program.constants.count(), 0);
    std::string large = "1" + std::string(300, '0');
    EXPECT_EQ(text(num(large.c_str())), "__const_get_el(0)") << "1e300 still fits";
    EXPECT_EQ(program.errorCount(), 1);
}

}  // namespace
