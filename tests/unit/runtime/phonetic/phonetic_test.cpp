// Phonetic keys: names that sound alike share a key, names that do not
// differ; and the ALPHA2 call of the built library keeps its contract.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "phonetic_key.h"

namespace {

std::string key(const char* text) { return phonetic::phoneticKey(text, true); }

TEST(PhoneticKey, NamesThatSoundAlikeShareAKey) {
  const struct {
    const char* a;
    const char* b;
  } cases[] = {
      {"Souza", "Sousa"},
      {"Luis", "Luiz"},
      {"Thiago", "Tiago"},
      {"Philipe", "Filipe"},
      {"Phillipe", "Filipe"},
      {"Cecília", "Sesilia"},
      {"Kátia", "Catia"},
      {"Wagner", "Vagner"},
      {"Helena", "Elena"},
      {"Gislaine", "Jislaine"},
      {"Queiroz", "Keiros"},
      {"Xavier", "Chavier"},
      {"Thaís", "Tais"},
      {"Isaac", "Isac"},
      {"Conceição", "Consseissao"},
      {"Miguel", "Mighel"},
      {"Mello", "Melo"},
      {"Rocha", "Roxa"},
      {"Yara", "Iara"},
      {"Washington", "Vashington"},
      {"Emma", "Ema"},
      {"Sérgio", "Sergio"},
      {"SOUZA", "sousa"},
      {"Luiz  Souza", "luis sousa"},
      {"Joa\xE3o", "Jo\xC3\xA3o"},  // Latin-1 and UTF-8 spellings of one name
  };
  for (const auto& c : cases) EXPECT_EQ(key(c.a), key(c.b)) << c.a << " / " << c.b;
}

TEST(PhoneticKey, NamesThatSoundDifferentDiffer) {
  const struct {
    const char* a;
    const char* b;
  } cases[] = {
      {"Souza", "Silva"}, {"Maria", "Mario"},  {"Luis", "Lucas"},   {"Tiago", "Diego"},
      {"Gama", "Cama"},   {"Miguel", "Migel"}, {"Rosa", "Rocha"},   {"Ana", "Anna Maria"},
      {"Pedro", "Petro"}, {"Jorge", "Jose"},   {"Marcos", "Marco"},
  };
  for (const auto& c : cases) EXPECT_NE(key(c.a), key(c.b)) << c.a << " / " << c.b;
}

TEST(PhoneticKey, KeysOfWordsAndSeparators) {
  const struct {
    const char* text;
    bool allWords;
    const char* key;
  } cases[] = {
      {"Souza", true, "SOUSA"},
      {"Thiago", true, "TIAGO"},
      {"Maria da Silva", true, "MARIA DA SILVA"},
      {"Maria da Silva", false, "MARIA SILVA"},
      {"João dos Santos e Souza", false, "JOAO SANTOS SOUSA"},
      {"  --Souza,,  Luiz. ", true, "SOUSA LUIS"},
      {"", true, ""},
      {"h", true, ""},  // a silent letter alone gives no word
      {"R2D2", true, "R2D2"},
      {"Adam", true, "ADAN"},
      {"Filha", true, "FILIA"},
  };
  for (const auto& c : cases) EXPECT_EQ(phonetic::phoneticKey(c.text, c.allWords), c.key) << c.text;
}

using Alpha2 = int (*)(int*, const char*, char*);

class Alpha2Call : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = dlopen(ALPHA22_PATH, RTLD_NOW);
    ASSERT_NE(library_, nullptr) << dlerror();
    call_ = reinterpret_cast<Alpha2>(dlsym(library_, "ALPHA2"));
    ASSERT_NE(call_, nullptr);
  }
  void TearDown() override {
    if (library_) dlclose(library_);
  }
  void* library_ = nullptr;
  Alpha2 call_ = nullptr;
};

TEST_F(Alpha2Call, WritesTheKeyOverThePaddedText) {
  const struct {
    const char* text;
    const char* mode;
    const char* key;
  } cases[] = {
      {"Luiz de Souza", "0", "LUIS DE SOUSA"},
      {"Luiz de Souza", "1", "LUIS SOUSA"},
      {"", "0", ""},
  };
  for (const auto& c : cases) {
    std::string buffer = std::string(c.text) + std::string(128, ' ');
    buffer.push_back('#');  // past the padding: never written
    int length = static_cast<int>(strlen(c.text));
    ASSERT_EQ(call_(&length, c.mode, &buffer[0]), 0) << c.text;
    EXPECT_EQ(length, static_cast<int>(strlen(c.key)));
    EXPECT_STREQ(buffer.c_str(), c.key);
    EXPECT_EQ(buffer.back(), '#');
  }
}

TEST_F(Alpha2Call, RefusesBadArgumentsAndLeavesTheBuffer) {
  char buffer[140] = "Souza";
  int length = 5;
  int negative = -1;
  EXPECT_EQ(call_(nullptr, "0", buffer), -1);
  EXPECT_EQ(call_(&length, nullptr, buffer), -1);
  EXPECT_EQ(call_(&length, "0", nullptr), -1);
  EXPECT_EQ(call_(&negative, "0", buffer), -1);
  EXPECT_EQ(call_(&length, "2", buffer), -2);
  EXPECT_EQ(call_(&length, "01", buffer), -2);
  EXPECT_STREQ(buffer, "Souza");
  EXPECT_EQ(length, 5);
}

}  // namespace
