// Build support files: user bitmaps, the Palm definition, the icon.
#include "resources.h"
#include "resources_palm.h"

#include "test_support.h"

#include <set>

namespace {

TEST(Resources, BitmapNames)
{
    struct {
        const char* path;
        const char* name;
        // clang-format off
    } cases[] = {
        {"C:\\art\\Logo.bmp", "LOGO"}, {"art/sub/x1.BMP", "X1"}, {"plain", "PLAIN"},
        {"dir.v2/pic", "PIC"},        {"a.b.bmp", "A.B"},       {"D:top.bmp", "TOP"},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(bitmapName(c.path), c.name) << c.path;
}

TEST(Resources, UserBitmapsPerTarget)
{
    struct {
        tTarget target;
        tSdk sdk;
        const char* script;
        std::string text;
    } cases[] = {
        {tTarget::PALMOS, tSdk::PALM5, "sub/app.rcp",
         "BITMAPCOLOR   6000\t\"C:\\art\\Logo.bmp\"\t\tCOMPRESS\nBITMAPCOLOR   6001\t\"b.bmp\"\t\tCOMPRESS\n"},
        {tTarget::PALMOS, tSdk::PALM35, "sub/app.rcp",
         "BITMAP   6000\t\"C:\\art\\Logo.bmp\"\t\tCOMPRESS\nBITMAP   6001\t\"b.bmp\"\t\tCOMPRESS\n"},
        {tTarget::WIN32EXE, tSdk::PALM5, "sub/app.rc",
         "6000    BITMAP  DISCARDABLE   C:\\art\\Logo.bmp \r\n6001    BITMAP  DISCARDABLE   b.bmp \r\n"},
    };
    for (const auto& c : cases) {
        tScratchDir dir;
        std::filesystem::create_directory("sub");
        writeFile("sub/app.rc", "old");
        writeFile("list.txt", "C:\\art\\Logo.bmp\r\n\r\n\nb.bmp");
        tBuildSettings s;
        s.target = c.target;
        s.sdk = c.sdk;
        s.sources = {"sub/app.prg"};
        s.defines = {"FIRST"};
        s.bitmapListFile = "list.txt";
        ASSERT_EQ(writeUserBitmaps(s), tBitmapResult::ok);
        EXPECT_EQ(readFile(c.script), c.text);
        EXPECT_EQ(s.defines, (std::vector<std::string>{"FIRST", " LOGO    6000", " B    6001"}));
    }
}

TEST(Resources, UserBitmapFailures)
{
    tScratchDir dir;
    tBuildSettings s;
    s.sources = {"nodir/app.prg"};
    s.bitmapListFile = "missing.txt";
    EXPECT_EQ(writeUserBitmaps(s), tBitmapResult::listMissing);
    writeFile("list.txt", "a.bmp\n");
    s.bitmapListFile = "list.txt";
    EXPECT_EQ(writeUserBitmaps(s), tBitmapResult::scriptNotCreated);
}

TEST(Resources, DefinesFile)
{
    tScratchDir dir;
    ASSERT_TRUE(writeDefinesFile("defines.ch", {}));
    EXPECT_EQ(readFile("defines.ch"), "#include \"ezelta.ch\"\n\r");
    EXPECT_FALSE(writeDefinesFile("nodir/defines.ch", {"A"}));
}

TEST(Resources, PalmAppName)
{
    struct {
        const char* source;
        const char* name;
        const char* expected;
    } cases[] = {
        {"dir/SHOP.prg", "", "Shop"},
        {"9test.prg", "", "9test"},
        {"_x.PRG", "", "_x"},
        {"a.prg", "My App", "My App"},
    };
    for (const auto& c : cases) {
        tBuildSettings s;
        s.sources = {c.source};
        s.appName = c.name;
        EXPECT_EQ(palmAppName(s), c.expected) << c.source;
    }
}

TEST(Resources, PalmDefinition)
{
    tScratchDir dir;
    tBuildSettings s;
    s.sources = {"shop.prg", "more.prg"};
    s.creatorId = "ab1x";
    s.contextBase = 1;
    ASSERT_TRUE(writePalmDefinition(s, 2, 2));
    EXPECT_EQ(readFile("shop.def"),
              "app { \"Shop\" AB1X STACK=0x2000 }\r\n"
              "multiple code { \"seg_01\" \"seg_02\" \"seg_03\" \"seg_04\" \"seg_05\"  \"seg_06\" \"seg_07\"  "
              "\"seg_08\"  \"seg_09\" \"seg_10\" \"seg_11\" \"seg_12\" \"seg_13\" \"init_01\" \"usr_001\" \"usr_002\" "
              "\"ctx_001\" \"ctx_002\" \"ctx_003\" }\r\n");
    s.creatorId.clear();
    ASSERT_TRUE(writePalmDefinition(s, 0, 0));
    EXPECT_EQ(readFile("shop.def").substr(0, 33), "app { \"Shop\" ZELT STACK=0x2000 }\r");
}

TEST(Resources, DefaultIconIsAValidIcoFile)
{
    tScratchDir dir;
    ASSERT_TRUE(writeDefaultIcon("zelta.ico"));
    std::string ico = readFile("zelta.ico");
    auto u32 = [&](std::size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(ico[at])) |
               static_cast<unsigned>(static_cast<unsigned char>(ico[at + 1])) << 8 |
               static_cast<unsigned>(static_cast<unsigned char>(ico[at + 2])) << 16 |
               static_cast<unsigned>(static_cast<unsigned char>(ico[at + 3])) << 24;
    };
    ASSERT_GE(ico.size(), 62u);
    EXPECT_EQ(ico.substr(0, 6), std::string("\0\0\1\0\1\0", 6));
    EXPECT_EQ(u32(18), 22u);              // image offset
    EXPECT_EQ(u32(14) + 22, ico.size());  // image size
    EXPECT_EQ(u32(22), 40u);              // bitmap header
    EXPECT_EQ(u32(30), 64u);              // twice the height: colour rows and mask rows
}

TEST(Resources, Latin1TextForTheDevice)
{
    struct {
        std::string utf8;
        std::string latin1;
    } cases[] = {
        {"Versão", "Vers\xE3o"},
        {"Março Sábado",
         "Mar\xE7o S\xE1"
         "bado"},
        {"plain", "plain"},
        {"\xE2\x82\xAC", "\xE2\x82\xAC"},  // beyond Latin-1: kept
        {"\xC3", "\xC3"},                  // cut short: kept
        {"\xC3\x28", "\xC3\x28"},          // not a continuation: kept
    };
    for (const auto& c : cases)
        EXPECT_EQ(latin1Text(c.utf8), c.latin1) << c.utf8;
}

TEST(Resources, BuiltInBitmapIds)
{
    std::set<int> ids;
    for (int i = 0; i < kPalmBitmapCount; ++i)
        EXPECT_TRUE(ids.insert(kPalmBitmaps[i].id).second) << kPalmBitmaps[i].name;
    for (int id = 3003; id <= 3066; ++id) {
        bool unused = (id >= 3010 && id <= 3015) || id == 3017;
        EXPECT_EQ(ids.count(id), unused ? 0u : 1u) << id;
    }
    EXPECT_EQ(ids.count(3257), 1u);
    EXPECT_EQ(ids.count(3500), 1u);
    EXPECT_EQ(ids.size(), 59u);
    EXPECT_STREQ(kPalmBitmaps[kPalmBitmapCount - 1].name, "BITMAP_FAIL");
}

}  // namespace
