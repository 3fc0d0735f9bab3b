// Base64, RC4 and the last-zero search as programs and foreign calls use
// them: the C-buffer entry points, the switchable __DoEncode / __DoDecode,
// and __CryptoData.
#include "sync_fixture.h"

#include <string.h>

#include "zeltanet.h"

namespace {

std::string str(pObj_Node v) { return v && v->objType == T_CHARPTR ? std::string(v->objData.mbuff) : "<none>"; }

class EncodingTest : public SyncTest {
 protected:
  void TearDown() override {
    SetEncode(1);
    SyncTest::TearDown();
  }
};

TEST_F(EncodingTest, Encode64Pads) {
  const struct {
    const char* data;
    int length;
    const char* text;
  } cases[] = {{"abc", 3, "YWJj"}, {"ab", 2, "YWI="}, {"a", 1, "YQ=="}, {"", 0, ""}, {"a\0b", 3, "YQBi"}};
  for (const auto& c : cases) {
    unsigned char* out = Encode64(reinterpret_cast<unsigned char*>(const_cast<char*>(c.data)), c.length);
    ASSERT_NE(out, nullptr);
    EXPECT_STREQ(reinterpret_cast<char*>(out), c.text);
    FreeEncode64(out);
  }
  EXPECT_EQ(Encode64(nullptr, 3), nullptr);
  EXPECT_EQ(Encode64(reinterpret_cast<unsigned char*>(const_cast<char*>("x")), -1), nullptr);
  FreeEncode64(nullptr);
}

TEST_F(EncodingTest, Decode64CountsBytesAndTerminates) {
  const struct {
    const char* text;
    long length;
    const char* bytes;
    long count;
  } cases[] = {
      {"QUI=", 4, "AB", 2},
      {"QUJD", 4, "ABC", 3},
      {"QQ==", 4, "A", 1},
      {"QUJDRA", 6, "ABCD", 4},
      {"QUJD", 2, "A", 1},        // only the given length is read
      {"QUJD\0\0", 6, "ABC", 3},  // the text ends at its zero byte
      {"", 0, "", 0},
  };
  for (const auto& c : cases) {
    unsigned char out[16];
    memset(out, 0xFF, sizeof out);
    long n = c.length;
    Decode64(reinterpret_cast<unsigned char*>(const_cast<char*>(c.text)), out, &n);
    EXPECT_EQ(n, c.count) << c.text;
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), static_cast<size_t>(n)), c.bytes) << c.text;
    EXPECT_EQ(out[n], 0) << c.text;
  }
  long n = 4;
  Decode64(nullptr, nullptr, &n);
  EXPECT_EQ(n, 0);
  Decode64(nullptr, nullptr, nullptr);
}

TEST_F(EncodingTest, SwitchOffGivesTheSameText) {
  SetEncode(0);
  EXPECT_EQ(str(__DoEncode(__INIT_CHARPTR("plain text"))), "plain text");
  EXPECT_EQ(str(__DoDecode(__INIT_CHARPTR("cGxhaW4="))), "cGxhaW4=");
  EXPECT_EQ(__SetEncode(__INIT_BOOL(1))->objData.bValue, 0);
  EXPECT_EQ(errorOf([] { __SetEncode(__INIT_CHARPTR("yes")); }), ARGUMENT_ERROR);
}

TEST_F(EncodingTest, SwitchOnEncodesTheWholeBuffer) {
  SetEncode(1);
  // The buffer of "abc" holds four bytes: the text and its zero.
  EXPECT_EQ(str(__DoEncode(__INIT_CHARPTR("abc"))), "YWJjAA==");
  pObj_Node back = __DoDecode(__INIT_CHARPTR("YWJjAA=="));
  EXPECT_EQ(str(back), "abc");
  EXPECT_EQ(back->objLength, 5);  // four decoded bytes and the zero
  EXPECT_EQ(str(__DoDecode(__DoEncode(__INIT_CHARPTR("Olá, mundo")))), "Olá, mundo");
}

TEST_F(EncodingTest, DecodeKeepsTheArgumentsLevel) {
  SetEncode(1);
  pObj_Node variable = __fcpObj_CT(vVariable);
  __SET_OBJECT(variable, __INIT_CHARPTR("QUJD"));
  variable->level = 3;
  EXPECT_EQ(__DoDecode(variable)->level, 3);
  __fcObj_DT(variable);
}

TEST_F(EncodingTest, EncodingsCheckTheirArgument) {
  EXPECT_EQ(errorOf([] { __DoEncode(__INIT_DOUBLE(1)); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([] { __DoDecode(nullptr); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([] { __GetLastZero(__INIT_NIL()); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([] { __CryptoData(__INIT_CHARPTR("a"), __INIT_DOUBLE(2)); }), ARGUMENT_ERROR);
}

TEST_F(EncodingTest, CryptoDataTwiceGivesTheTextBack) {
  const char* texts[] = {"Attack at dawn", "Zelta", "0123456789abcdefghijklmnopqrstuvwxyz"};
  for (const char* t : texts) {
    pObj_Node once = __CryptoData(__INIT_CHARPTR(t), __INIT_CHARPTR("Secret"));
    const std::string cipher = str(once);
    if (cipher.size() == strlen(t)) {  // no zero byte was dropped
      EXPECT_NE(cipher, t);
      EXPECT_EQ(str(__CryptoData(__INIT_CHARPTR(cipher.c_str()), __INIT_CHARPTR("Secret"))), t);
    }
  }
  EXPECT_EQ(str(__CryptoData(__INIT_CHARPTR("Plaintext"), __INIT_CHARPTR("Key"))),
            "\xBB\xF3\x16\xE8\xD9\x40\xAF\x0A\xD3");
}

TEST_F(EncodingTest, CryptoDataDropsZeroBytesAndEmptyInputs) {
  // The first keystream byte of "Key" is 0xEB ('P' becomes 0xBB), so a text
  // starting with 0xEB gives a zero byte there, which the result drops.
  const char text[] = {static_cast<char>(0xEB), 'l', 0};
  const std::string out = str(__CryptoData(__INIT_CHARPTR(text), __INIT_CHARPTR("Key")));
  EXPECT_EQ(out.size(), 1u);
  EXPECT_EQ(str(__CryptoData(__INIT_CHARPTR(""), __INIT_CHARPTR("Key"))), "");
  EXPECT_EQ(str(__CryptoData(__INIT_CHARPTR("text"), __INIT_CHARPTR(""))), "");
}

TEST_F(EncodingTest, CryptoDataTakesTextsPastTheOldLimit) {
  std::string longText(3000, 'z');
  pObj_Node once = __CryptoData(__INIT_CHARPTR(longText.c_str()), __INIT_CHARPTR("k"));
  EXPECT_GT(str(once).size(), 2900u);
}

TEST_F(EncodingTest, LastZero) {
  EXPECT_EQ(FindLastZero("abc", 3), 0);
  EXPECT_EQ(FindLastZero("a\0c", 3), 2);
  EXPECT_EQ(FindLastZero("a\0\0d", 4), 3);
  EXPECT_EQ(FindLastZero(nullptr, 3), 0);
  EXPECT_EQ(FindLastZero("abc", 0), 0);
  EXPECT_EQ(__GetLastZero(__INIT_CHARPTR("abc"))->objData.dValue, 4);  // the text's own zero
}

}  // namespace
