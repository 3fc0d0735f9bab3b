// The string exports: bounds, defaults, both search modes and wrong types.
#include "zeltastring.h"

#include "lib_fixture.h"

#include <cstring>
#include <functional>

namespace {

using StringsTest = LibTest;

struct TextCase {
  pObj_Node result;
  const char* expected;
};

TEST_F(StringsTest, TrimsCutsAndPads) {
  // clang-format off
  const TextCase cases[] = {
      {__AllTrim(S("  a b  ")), "a b"}, {__AllTrim(S("   ")), ""},       {__LTrim(S("  a ")), "a "},
      {__RTrim(S(" a  ")), " a"},       {__Left(S("abc"), N(0)), "abc"},  {__Left(S("abc"), N(5)), "abc"},
      {__Left(S("abc"), N(2)), "ab"},   {__Right(S("abc"), N(2)), "bc"},  {__Right(S("abc"), N(-1)), "abc"},
      {__SubStr(S("abcdef"), N(3), N(2)), "cd"}, {__SubStr(S("abc"), N(5)), "abc"},
      {__SubStr(S("abcdef"), N(0), N(2)), "ab"}, {__SubStr(S("abcdef"), N(5), N(9)), "ef"},
      {__SubStr(S("abcdef"), N(2), N(0)), "abcdef"}, {__SubStr(S("abcdef"), N(4)), "def"},
      {__PadL(S("7"), N(3), S("0")), "007"},  {__PadR(S("abcd"), N(2)), "abcd"}, {__PadR(S("ab"), N(5), S("xy")), "abxyx"},
      {__PadL(S("ab"), N(4), __INIT_NIL()), "  ab"}, {__PadC(S("ab"), N(6), S("*")), "**ab**"},
      {__PadC(S("ab"), N(5)), " ab  "}, {__Pad(S("a"), N(3)), "a  "}, {__PadR(S("a"), N(3), S("")), "a  "},
      {__Replicate(S("ab"), N(3)), "ababab"}, {__Replicate(S("ab"), N(0)), ""}, {__Space(N(3)), "   "},
      {__Upper(S("a\xe9z")), "A\xe9Z"},  {__Lower(S("AbC")), "abc"},      {__Chr(N(321)), "A"},
  };
  // clang-format on
  for (const TextCase& c : cases) EXPECT_EQ(str(c.result), c.expected);
  EXPECT_EQ(__AllTrim(S("   "))->objLength, 1);
}

TEST_F(StringsTest, ReplacesAndStuffs) {
  const TextCase cases[] = {
      {__StrTran(S("a-b-c"), S("-"), S("+")), "a+b+c"},
      {__StrTran(S("a-b-c"), S("-")), "abc"},
      {__StrTran(S("a-b-c"), S("-"), S("+"), N(3)), "a-b+c"},
      {__StrTran(S("a-b-c"), S("-"), S("+"), nullptr, N(-1)), "a+b-c"},
      {__StrTran(S("a-b-c"), S("-"), S("+"), N(9)), "a-b-c"},
      {__StrTran(S("aaa"), S(""), S("x")), "aaa"},
      {__Stuff(S("abcdef"), N(2), N(3), S("XY")), "aXYef"},
      {__Stuff(S("abc"), N(9), N(2), S("Z")), "abcZ"},
      {__Stuff(S("abc"), N(2), N(9), S("Z")), "aZ"},
      {__Stuff(S("abc"), N(1), N(0), S("Z")), "Zabc"},
  };
  for (const TextCase& c : cases) EXPECT_EQ(str(c.result), c.expected);
}

TEST_F(StringsTest, SearchesInBothModes) {
  for (int binary = 0; binary <= 1; ++binary) {
    SetCheckBuffer(binary);
    EXPECT_EQ(num(__At(S("c"), S("abc"))), 3);
    EXPECT_EQ(num(__At(S("bc"), S("abcbc"))), 2);
    EXPECT_EQ(num(__At(__ALLOC_CHARPTR(0), S("abc"))), 1);  // an empty needle
    EXPECT_EQ(num(__At(S("z"), S("abc"))), 0);
    EXPECT_EQ(num(__Rat(S("bc"), S("abcbc"))), 4);
  }
  // A zero byte inside a binary buffer is searched too.
  pObj_Node buffer = __ALLOC_CHARPTR(3);
  memcpy(buffer->objData.mbuff, "a\0c", 3);
  SetCheckBuffer(1);
  EXPECT_EQ(num(__At(__Chr(N(0)), buffer)), 2);
  EXPECT_EQ(num(__At(S("c"), buffer)), 3);
  EXPECT_EQ(str(__SubStr(buffer, N(2), N(2))).size(), 0u);  // starts with the zero byte
  EXPECT_EQ(__SubStr(buffer, N(2), N(2))->objData.mbuff[1], 'c');
  SetCheckBuffer(0);
  EXPECT_EQ(num(__At(S("c"), buffer)), 0);
}

TEST_F(StringsTest, NumbersAsText) {
  // clang-format off
  const TextCase cases[] = {
      {__Str(N(5)), "         5"},    {__Str(N(5), N(3)), "  5"},         {__Str(N(3.14159), N(8), N(2)), "    3.14"},
      {__Str(N(-1.5), N(6), N(1)), "  -1.5"}, {__Str(N(5), N(-2)), "         5"}, {__Str(N(5), __INIT_NIL(), N(1)), "       5.0"},
      {__StrZero(N(42), N(5)), "00042"}, {__StrZero(N(-42), N(5)), "-0042"},
  };
  // clang-format on
  for (const TextCase& c : cases) EXPECT_EQ(str(c.result), c.expected);
  EXPECT_EQ(num(__Val(S("12.5"))), 12.5);
  EXPECT_EQ(num(__Val(N(3))), 0);
  EXPECT_EQ(__Val(nullptr), nullptr);
  EXPECT_EQ(num(__Asc(S("A"))), 65);
  EXPECT_EQ(num(__Asc(S("\xff"))), 255);
  EXPECT_EQ(num(__Asc(S(""))), 0);
  EXPECT_TRUE(__GET_BOOL(__IsAlpha(S("a1"))));
  EXPECT_FALSE(__GET_BOOL(__IsDigit(S("a1"))));
}

TEST_F(StringsTest, WrongTypesRaiseArgumentError) {
  // clang-format off
  const std::function<void()> calls[] = {
      [] { __AllTrim(nullptr); },       [] { __AllTrim(N(1)); },         [] { __Left(S("a"), S("1")); },
      [] { __SubStr(N(1), N(1)); },     [] { __PadL(S("a"), N(3), N(0)); }, [] { __At(N(1), S("a")); },
      [] { __Str(S("1")); },            [] { __Replicate(S("a"), nullptr); }, [] { __StrTran(S("a"), S("a"), S("b"), S("1")); },
      [] { __Chr(S("A")); },
  };
  // clang-format on
  for (const auto& call : calls) EXPECT_EQ(errorOf(call), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([] { __Replicate(S("abc"), N(2e9)); }), LOW_MEMORY);
}

}  // namespace

namespace {

// Regression: a result that took the ring slot its argument lived in freed
// the argument's text before copying it (seen under AddressSanitizer).
TEST_F(StringsTest, ResultsTakingTheirArgumentsSlotKeepItsText) {
  struct Case {
    const char* what;
    pObj_Node (*call)(pObj_Node text, pObj_Node n, pObj_Node fill);
    double n;
    const char* expected;
  };
  const Case cases[] = {
      {"AllTrim", [](pObj_Node t, pObj_Node, pObj_Node) { return __AllTrim(t); }, 0, "abc"},
      {"PadR", [](pObj_Node t, pObj_Node n, pObj_Node) { return __PadR(t, n, nullptr); }, 8, " abc    "},
      {"PadL", [](pObj_Node t, pObj_Node n, pObj_Node f) { return __PadL(t, n, f); }, 8, "*** abc "},
      {"Replicate", [](pObj_Node t, pObj_Node n, pObj_Node) { return __Replicate(t, n); }, 2, " abc  abc "},
      {"Upper", [](pObj_Node t, pObj_Node, pObj_Node) { return __Upper(t); }, 0, " ABC "},
  };
  for (const Case& c : cases) {
    pObj_Node text = S(" abc ");
    pObj_Node n = N(c.n);
    pObj_Node fill = S("*");
    __LockStack(n, fill, Nul());
    // Walk the cursor round the ring until the next temporary is text's slot.
    while (&glob->stack[glob->stackCursor] != text) N(0);
    EXPECT_EQ(str(c.call(text, n, fill)), c.expected) << c.what;
  }
}

}  // namespace
