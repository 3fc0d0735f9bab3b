// The clean-up sets, checked on real files in a scratch directory.
#include "cleanup.h"

#include "test_support.h"

#include <algorithm>

namespace {

// Every file a run may leave, for a program "app.prg" + "sub/more.prg"; the
// clean-up must delete exactly the expected subset.
// clang-format off
const std::vector<std::string> kAll = {
    "app.def", "app.000", "app.cpp", "app.hpp", "app.ppo", "app.o", "app.obj", "app.lib", "app.exp",
    "sub/more.def", "sub/more.cpp", "sub/more.hpp", "sub/more.ppo", "sub/more.o", "sub/more.obj", "sub/more.exp",
    "vc60.idb", "MORE.def", "app-sections.ld", "app-sections.o", "app-sections.s", "app.rcp", "passfont.pfn",
    "symbols.pfn", "app.pbitm", "left.pbitm", "right.pbitm", "app.rc", "zelta.h", "zeltape.h", "ezelta.res",
    "zelta.ico", "resincl.h", "vc60.pch", "defines.ch", "ctx001.cpp", "ctx001.o", "ctx001.obj", "ctx002.cpp",
    "ctx002.o", "ctx003.cpp", "app.exe", "app.prg", "sub/more.prg", "tool.bin", "user.bin",
};
// clang-format on

std::vector<std::string> survivorsAfter(tBuildSettings s, int contextCount)
{
    tScratchDir dir;
    std::filesystem::create_directory("sub");
    writeFile("user.bin", "data");  // there before the run
    std::set<std::string> before = binFiles();
    for (const std::string& f : kAll)
        writeFile(f, "x");
    s.sources = {"app.prg", "sub/more.prg"};
    cleanUp(s, {contextCount, "MORE"}, before);
    std::vector<std::string> left;
    for (const std::string& f : kAll)
        if (exists(f))
            left.push_back(f);
    return left;
}

TEST(Cleanup, PalmDeletesEverythingButInputsAndOutputs)
{
    tBuildSettings s;
    EXPECT_EQ(survivorsAfter(s, 2),
              (std::vector<std::string>{"app.obj", "app.lib", "app.exp", "sub/more.def", "sub/more.obj", "sub/more.exp",
                                        "vc60.idb", "MORE.def", "zeltape.h", "ctx001.obj", "ctx003.cpp", "app.exe",
                                        "app.prg", "sub/more.prg", "user.bin"}));
}

TEST(Cleanup, DontcleanKeepsTheGeneratedC)
{
    tBuildSettings s;
    s.target = tTarget::WIN32EXE;
    s.keepGeneratedC = true;
    EXPECT_EQ(survivorsAfter(s, 1),
              (std::vector<std::string>{"app.cpp", "app.hpp", "app.o", "sub/more.def", "sub/more.cpp", "sub/more.hpp",
                                        "sub/more.o", "zelta.h", "zeltape.h", "ctx001.cpp", "ctx001.o", "ctx002.cpp",
                                        "ctx002.o", "ctx003.cpp", "app.exe", "app.prg", "sub/more.prg", "user.bin"}));
}

TEST(Cleanup, LibraryModesAndDll)
{
    tBuildSettings s;
    s.target = tTarget::WIN32DLL;
    s.libraryMode = tLibraryMode::import;
    s.headerName = "zeltape.h";
    std::vector<std::string> left = survivorsAfter(s, 0);
    for (const char* gone : {"app.exp", "vc60.idb", "MORE.def", "zeltape.h", "app.obj"})
        EXPECT_EQ(std::count(left.begin(), left.end(), gone), 0) << gone;
    for (const char* kept : {"app.lib", "zelta.h", "ctx001.obj", "ctx001.cpp"})
        EXPECT_EQ(std::count(left.begin(), left.end(), kept), 1) << kept;
}

TEST(Cleanup, ContextFilesAreNumberedFromTheBase)
{
    tBuildSettings s;
    s.sources = {"lib/app.prg"};
    s.contextBase = 4;
    std::vector<std::string> files = cleanupFiles(s, {2, "APP"});
    EXPECT_EQ(std::vector<std::string>(files.end() - 4, files.end()),
              (std::vector<std::string>{"lib/ctx005.cpp", "lib/ctx005.o", "lib/ctx006.cpp", "lib/ctx006.o"}));
}

TEST(Cleanup, HostBuildRemovesTheExportsFiles)
{
    tBuildSettings s;
    s.target = tTarget::GCCDEBUG;
    s.sources = {"shop.prg"};
    tBuildOutputs outputs;
    outputs.moduleDefinitions = {"shop.def", "stock.def"};
    std::vector<std::string> files = cleanupFiles(s, outputs);
    for (const char* gone : {"shop-exports.ld", "shop.def", "stock.def"})
        EXPECT_GE(std::count(files.begin(), files.end(), gone), 1) << gone;
    s.target = tTarget::WIN32DLL;  // the desktop link keeps its own rule
    files = cleanupFiles(s, outputs);
    EXPECT_EQ(std::count(files.begin(), files.end(), "stock.def"), 0);
}

}  // namespace
