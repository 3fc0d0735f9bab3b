// __Transform over every value type and function code, and NOROUND.
#include "zeltastring.h"

#include "lib_fixture.h"

namespace {

using TransformTest = LibTest;

TEST_F(TransformTest, FormatsByTypeAndCode) {
  const struct {
    pObj_Node value;
    const char *picture, *text;
  } cases[] = {
      {S("12345678"), "@R 99.999-999", "12.345-678"},
      {S("abc"), "@!", "ABC"},
      {N(1234.5), "@E 999,999.99", "  1,234.50"},
      {N(-3), "@E 999", " -3"},
      {S("1234"), "@E 99,999", " 1,234"},
      {__INIT_DATE(39877), "@D", "03/05/09"},
      {S("03/05/09"), "@D", "03/05/09"},
      {N(12), "@R 999", "   "},  // a number has no "@R" form
      {__INIT_BOOL(1), "@! XX", "  "},
      {N(0), "@E 999.99", ""},  // empty values show as ""
      {S("   "), "@!", ""},
      {N(7), "@E", "7"},
      // Beyond the integer range a cast picked the decimals, undefined.
      {N(1e19), "@E", "10000000000000000000"},
      {N(-1e300), "@E 999", "***"},
  };
  for (const auto& c : cases) EXPECT_EQ(str(__Transform(c.value, S(c.picture))), c.text) << c.picture;
}

TEST_F(TransformTest, PicturesWithoutCodeReturnTheValue) {
  pObj_Node x = N(3.5);
  EXPECT_EQ(__Transform(x, S("999.99")), x);
  EXPECT_EQ(__Transform(x, S("")), x);
  EXPECT_EQ(__Transform(nullptr, S("@!"))->objType, static_cast<uint32_t>(T_NIL));
  EXPECT_EQ(errorOf([] { __Transform(N(1), N(2)); }), ARGUMENT_ERROR);
  EXPECT_EQ(__GetMaskType("@E 99"), 3);
  EXPECT_EQ(__GetMaskType(nullptr), 0);
}

TEST_F(TransformTest, LocaleSeparatorInPictures) {
  lib::setDecimalSeparator(',');
  EXPECT_EQ(str(__Transform(N(1234.5), S("@E 999,999.99"))), "  1.234,50");
  EXPECT_EQ(num(NOROUND(N(2.999), N(2))), 2.99);
  lib::setDecimalSeparator('.');
}

TEST_F(TransformTest, NoRoundAndCheckDigits) {
  EXPECT_EQ(num(NOROUND(N(2.999), N(2))), 2.99);
  EXPECT_EQ(errorOf([] { NOROUND(S("2"), N(2)); }), ARGUMENT_ERROR);
  EXPECT_TRUE(__GET_BOOL(__ValidCPF(S("11144477735"))));
  EXPECT_FALSE(__GET_BOOL(__ValidCPF(S("111.444.777-35"))));
  EXPECT_TRUE(__GET_BOOL(__ValidCGC(S("11222333000181"))));
  EXPECT_EQ(errorOf([] { __ValidCGC(N(1)); }), ARGUMENT_ERROR);
  char buffer[32];
  EXPECT_STREQ(printDouble(buffer, sizeof buffer, 2.5, 2), "2.50");
}

}  // namespace
