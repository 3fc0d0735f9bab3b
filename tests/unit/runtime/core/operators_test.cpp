// Operators and generic functions, one table row per case.
#include <math.h>

#include "core_fixture.h"
#include "day_number.h"
#include "zeltaobjs2.h"

using OperatorsTest = CoreTest;

TEST_F(OperatorsTest, Arithmetic) {
  struct Case {
    const char* what;
    pObj_Node (*op)(pObj_Node, pObj_Node);
    double a, b, want;
  };
  // clang-format off
  const Case cases[] = {
      {"10/0 is 0", __DIV, 10, 0, 0},   {"7/2", __DIV, 7, 2, 3.5},
      {"fmod sign of a", __FMOD, -7, 3, -1}, {"2^10", __POW, 2, 10, 1024},
      {"7 % -3", __FMOD, 7, -3, 1},     {"5.5 % 2", __FMOD, 5.5, 2, 1.5},
      {"2^60 % 7 beyond whole range", __FMOD, 1152921504606846976.0, 7, 1},
      {"-6 % 3", __FMOD, -6, 3, 0},
      {"3*4", __MUL, 3, 4, 12},         {"5-8", __SUB, 5, 8, -3},
  };
  // clang-format on
  for (const Case& c : cases) EXPECT_EQ(num(c.op(D(c.a), D(c.b))), c.want) << c.what;
  EXPECT_EQ(num(__SUM(D(5), nullptr)), 6);
  EXPECT_TRUE(__GET_BOOL(__LS(nullptr, D(2))));
  EXPECT_EQ(errorOf([] { __FMOD(D(10), D(0)); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([] { __MUL(S("a"), D(1)); }), ARGUMENT_ERROR);
}

TEST_F(OperatorsTest, SumOfAnUnsupportedTypeRaisesInsteadOfReturningNull) {
  EXPECT_EQ(errorOf([] { __SUM(__INIT_BOOL(1), __INIT_BOOL(1)); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([] { __SUM(__INIT_NIL(), D(1)); }), ARGUMENT_ERROR);
}

TEST_F(OperatorsTest, Concatenation) {
  EXPECT_STREQ(__SUM(S("ab"), S("cd"))->objData.mbuff, "abcd");
  EXPECT_EQ(__SUM(S("ab"), S("cd"))->objLength, 5);
  SetCheckBuffer(1);
  // The 2-byte empty string must not hide the right operand.
  pObj_Node r = __SUM(S(""), S("xy"));
  EXPECT_STREQ(r->objData.mbuff, "xy");
  EXPECT_EQ(r->objLength, 3);
  EXPECT_STREQ(__SUM(__SUM(S("a"), S("")), S("b"))->objData.mbuff, "ab");
}

TEST_F(OperatorsTest, Equality) {
  struct Case {
    const char* a;
    const char* b;
    bool eq, eeq;
  };
  // clang-format off
  const Case cases[] = {
      {"abc", "ab", true, false}, {"ab", "abc", true, false},
      {"abc", "abc", true, true}, {"abc", "abd", false, false},
  };
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_EQ(__GET_BOOL(__EQ(S(c.a), S(c.b))), c.eq) << c.a << " = " << c.b;
    EXPECT_EQ(__GET_BOOL(__EEQ(S(c.a), S(c.b))), c.eeq) << c.a << " == " << c.b;
  }
  pObj_Node oneByteEmpty = __ALLOC_CHARPTR(0);
  EXPECT_FALSE(__GET_BOOL(__EQ(oneByteEmpty, S("x"))));
  EXPECT_FALSE(__GET_BOOL(__EQ(S("x"), __ALLOC_CHARPTR(0))));
  EXPECT_TRUE(__GET_BOOL(__EQ(__INIT_NIL(), __INIT_NIL())));
  EXPECT_FALSE(__GET_BOOL(__EQ(D(1), nullptr)));
  EXPECT_EQ(errorOf([] { __EQ(__INIT_NIL(), D(1)); }), ARGUMENT_ERROR);
  EXPECT_TRUE(__GET_BOOL(__DIFF(D(1), D(2))));
  EXPECT_TRUE(__GET_BOOL(__IN(S("b"), S("abc"))));
  EXPECT_FALSE(__GET_BOOL(__IN(S("z"), S("abc"))));
}

TEST_F(OperatorsTest, InverseAndLogic) {
  EXPECT_EQ(__INV(__INIT_NIL()), __INIT_BOOL(1));
  EXPECT_EQ(__INV(__INIT_BOOL(1)), __INIT_BOOL(0));
  EXPECT_EQ(num(__INV(D(2))), -2);
  EXPECT_EQ(__AND(__INIT_BOOL(1), nullptr), __INIT_BOOL(1));
  EXPECT_EQ(errorOf([] { __OR(D(1), __INIT_BOOL(0)); }), ARGUMENT_ERROR);
}

TEST_F(OperatorsTest, RoundingAndInt) {
  struct Case {
    double x;
    double n;
    double want;
  };
  const Case rounds[] = {{2.5, 0, 3},     {-2.5, 0, -3}, {1234.5, -2, 1200},
                         {1.005, 2, 1.0}, {2.4, 0, 2},   {0.125, 2, 0.13}};
  for (const Case& c : rounds) EXPECT_DOUBLE_EQ(num(__Round(D(c.x), D(c.n))), c.want) << c.x;
  const double ints[][2] = {{-2.96, -3}, {2.94, 2}, {2.96, 3}, {-0.4, 0}};
  for (const auto& c : ints) EXPECT_EQ(num(__Int(D(c[0]))), c[1]) << c[0];
  EXPECT_EQ(errorOf([] { __Int(nullptr); }), ARGUMENT_ERROR);
}

TEST_F(OperatorsTest, MaxMinReturnTheSecondOperandOnTies) {
  pObj_Node a = D(3), b = D(3);
  EXPECT_EQ(__Max(a, b), b);
  EXPECT_EQ(__Min(a, b), b);
  pObj_Node c = D(4);
  EXPECT_EQ(__Max(a, c), c);
  EXPECT_EQ(errorOf([] { __Max(D(1), __INIT_DATE(1)); }), ARGUMENT_ERROR);
}

TEST_F(OperatorsTest, DatesAreDayArithmetic) {
  pObj_Node d = __SET_OBJECT(nullptr, __INIT_DATE(45000));
  EXPECT_EQ(num(__SUB(d, __INIT_DATE(44990))), 10);
  EXPECT_EQ(__SUB(d, __INIT_DATE(44990))->objType, static_cast<uint32_t>(T_DOUBLE));
  pObj_Node later = __SUM(d, D(31.9));
  EXPECT_EQ(later->objType, static_cast<uint32_t>(T_DATE));
  EXPECT_EQ(num(later), 45031);
  EXPECT_EQ(num(__SUB(d, D(5))), 44995);
  EXPECT_EQ(errorOf([] { __SUB(D(5), __INIT_DATE(3)); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([] { __SUM(__INIT_DATE(3), D(-10)); }), ARGUMENT_ERROR);
}

TEST_F(OperatorsTest, GenericFunctions) {
  EXPECT_STREQ(__Type(__INIT_LONG(3))->objData.mbuff, "U");
  EXPECT_STREQ(__Type(S("x"))->objData.mbuff, "C");
  EXPECT_STREQ(__Type(__INIT_DATE(2))->objData.mbuff, "D");
  EXPECT_TRUE(__GET_BOOL(__Empty(S("   "))));
  EXPECT_FALSE(__GET_BOOL(__Empty(S(" a "))));
  EXPECT_TRUE(__GET_BOOL(__Empty(__INIT_NIL())));
  EXPECT_EQ(num(__Len(S("abcd"))), 4);
  EXPECT_EQ(num(__Len(nullptr)), -1);
  EXPECT_EQ(errorOf([] { __Len(D(1)); }), ARGUMENT_ERROR);
  pObj_Node x = D(1);
  EXPECT_EQ(__PREINCREMENT(x), x);
  EXPECT_EQ(num(x), 2);
  EXPECT_EQ(num(__POSTDECREMENT(x)), 2);
  EXPECT_EQ(num(x), 1);
}

TEST(DayNumber, RoundTripsAndEpoch) {
  EXPECT_EQ(core::encodeDayNumber(1899, 12, 30), 0);
  EXPECT_EQ(core::encodeDayNumber(1900, 1, 1), 2);
  EXPECT_EQ(core::encodeDayNumber(2000, 2, 29), 36585);
  EXPECT_EQ(core::encodeDayNumber(2000, 1, 32), core::encodeDayNumber(2000, 2, 1));
  // Months outside 1..12 carry into the year, both ways.
  const int carried[][4] = {{2000, 13, 2001, 1},   {2000, 0, 1999, 12}, {2000, -11, 1999, 1},
                            {2000, -12, 1998, 12}, {2000, 25, 2002, 1}, {2000, 24, 2001, 12}};
  for (const auto& c : carried)
    EXPECT_EQ(core::encodeDayNumber(c[0], c[1], 5), core::encodeDayNumber(c[2], c[3], 5)) << c[0] << "/" << c[1];
  for (long day : {1L, 59L, 60L, 36585L, 73050L, -5L}) {
    const core::CivilDate d = core::decodeDayNumber(static_cast<double>(day));
    EXPECT_EQ(core::encodeDayNumber(d.year, d.month, d.day), day);
  }
}
