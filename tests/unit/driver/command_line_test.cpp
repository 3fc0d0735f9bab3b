// The argument pass: option prefixes and their order, source rules, and the
// texts of the usage errors.
#include "command_line.h"

#include "messages.h"

#include <sstream>

#include <gtest/gtest.h>

namespace {

struct tParsed {
    tArgsResult result;
    tBuildSettings settings;
    std::string output;
};

tParsed parse(std::vector<std::string> args)
{
    tParsed p;
    std::ostringstream out;
    p.result = readArguments(args, p.settings, out);
    p.output = out.str();
    return p;
}

TEST(CommandLine, TargetsCpusAndSdk)
{
    struct {
        std::vector<std::string> args;
        tTarget target;
        tCpu cpu;
        tSdk sdk;
    } cases[] = {
        {{"a.prg"}, tTarget::PALMOS, tCpu::ARM, tSdk::PALM5},
        {{"a.prg", "-target=palmos"}, tTarget::PALMOS, tCpu::ARM, tSdk::PALM5},
        {{"a.prg", "-target=PocketPC"}, tTarget::POCKETPC, tCpu::ARM, tSdk::PALM5},
        {{"a.prg", "-target=DOTNET", "-cpu=ARMV4"}, tTarget::DOTNET, tCpu::ARMV4, tSdk::PALM5},
        {{"a.prg", "-target=WIN32DLL"}, tTarget::WIN32DLL, tCpu::ARM, tSdk::PALM5},
        {{"a.prg", "-target=win32exe"}, tTarget::WIN32EXE, tCpu::ARM, tSdk::PALM5},
        {{"a.prg", "-target=PALMOSX"}, tTarget::PALMOS, tCpu::ARM, tSdk::PALM5},  // six characters compared
        {{"a.prg", "-target=DOTNET", "-target=POCKETPC"}, tTarget::POCKETPC, tCpu::ARM, tSdk::PALM5},
        {{"a.prg", "-cpu=SH3"}, tTarget::PALMOS, tCpu::SH3, tSdk::PALM5},
        {{"a.prg", "-cpu=ARMV4I"}, tTarget::PALMOS, tCpu::ARMV4, tSdk::PALM5},
        {{"a.prg", "-cpu=ARM9"}, tTarget::PALMOS, tCpu::ARM, tSdk::PALM5},
        {{"a.prg", "-cpu=armv4ipro"}, tTarget::PALMOS, tCpu::ARMV4IPRO, tSdk::PALM5},
        {{"a.prg", "-cpu=ARMV4IPPC"}, tTarget::PALMOS, tCpu::ARMV4IPPC, tSdk::PALM5},
        {{"a.prg", "-cpu=ARMV4ISRT"}, tTarget::PALMOS, tCpu::ARMV4ISRT, tSdk::PALM5},
        {{"a.prg", "-cpu=ARMV4ISTD"}, tTarget::PALMOS, tCpu::ARMV4ISTD, tSdk::PALM5},
        {{"a.prg", "-cpu=MIPS"}, tTarget::PALMOS, tCpu::MIPS, tSdk::PALM5},
        {{"a.prg", "-cpu=X86"}, tTarget::PALMOS, tCpu::x86, tSdk::PALM5},
        {{"a.prg", "-cpu=MIPS", "-cpu=SH3"}, tTarget::PALMOS, tCpu::SH3, tSdk::PALM5},
        {{"a.prg", "-sdk=3.5"}, tTarget::PALMOS, tCpu::ARM, tSdk::PALM35},
        {{"a.prg", "-sdk=3.51"}, tTarget::PALMOS, tCpu::ARM, tSdk::PALM35},
        {{"a.prg", "-sdk=4"}, tTarget::PALMOS, tCpu::ARM, tSdk::PALM5},
        {{"a.prg", "-sdk=3"}, tTarget::PALMOS, tCpu::ARM, tSdk::PALM5},
        {{"a.prg", "-gFULL"}, tTarget::GCCDEBUG, tCpu::ARM, tSdk::PALM5},
        {{"a.prg", "-gfull"}, tTarget::GCCDEBUG, tCpu::ARM, tSdk::PALM5},
        {{"a.prg", "-target=POCKETPC", "-gFULL"}, tTarget::GCCDEBUG, tCpu::ARM, tSdk::PALM5},
        {{"a.prg", "-gFULL", "-target=POCKETPC"}, tTarget::POCKETPC, tCpu::ARM, tSdk::PALM5},
        {{"a.prg", "-g"}, tTarget::PALMOS, tCpu::ARM, tSdk::PALM5},
    };
    for (const auto& c : cases) {
        tParsed p = parse(c.args);
        std::string label = ::testing::PrintToString(c.args);
        ASSERT_EQ(p.result, tArgsResult::ok) << label;
        EXPECT_EQ(p.settings.target, c.target) << label;
        EXPECT_EQ(p.settings.cpu, c.cpu) << label;
        EXPECT_EQ(p.settings.sdk, c.sdk) << label;
    }
}

TEST(CommandLine, SourceList)
{
    struct {
        std::vector<std::string> args;
        std::vector<std::string> sources;
    } cases[] = {
        {{"a.prg", "a.prg"}, {"a.prg"}},
        {{"a.prg", "A.prg"}, {"a.prg", "A.prg"}},  // byte-for-byte comparison
        {{"a.PRG", "b.prw", "c.Ttl"}, {"a.PRG", "b.prw", "c.Ttl"}},
        {{"a.prgx", "a.txt"}, {"a.prgx"}},
        {{"b.prg", "a"}, {"b.prg"}},
        {{"..\\app\\main.prg", "m.prg"}, {"m.prg"}},  // the first '.' starts the extension
        {{"x.prg", "y.prg", "x.prg"}, {"x.prg", "y.prg"}},
    };
    for (const auto& c : cases) {
        tParsed p = parse(c.args);
        EXPECT_EQ(p.settings.sources, c.sources) << ::testing::PrintToString(c.args);
    }
}

TEST(CommandLine, ValueOptions)
{
    tParsed p = parse({"-dA=1", "a.prg", "-dB", "-icon=i.bmp", "-ID=abcd", "-version=102", "-name=Shop",
                       "-bmp=list.txt", "-category=Sales", "-dirty", "-dontclean", "-scanner", "-g"});
    ASSERT_EQ(p.result, tArgsResult::ok);
    const tBuildSettings& s = p.settings;
    EXPECT_EQ(s.defines, (std::vector<std::string>{"A=1", "B"}));
    EXPECT_EQ(s.iconFile, "i.bmp");
    EXPECT_EQ(s.creatorId, "abcd");
    EXPECT_EQ(s.version, "102");
    EXPECT_EQ(s.appName, "Shop");
    EXPECT_EQ(s.bitmapListFile, "list.txt");
    EXPECT_EQ(s.category, "Sales");
    EXPECT_FALSE(s.clean);
    EXPECT_TRUE(s.keepGeneratedC);
    EXPECT_TRUE(s.debug);
    EXPECT_FALSE(s.fullDebug);
    EXPECT_EQ(s.headerName, "zelta.h");
    EXPECT_EQ(s.libraryMode, tLibraryMode::none);
}

TEST(CommandLine, LibraryModes)
{
    tParsed gen = parse({"a.prg", "-genlib"});
    EXPECT_EQ(gen.settings.libraryMode, tLibraryMode::generate);
    EXPECT_EQ(gen.settings.headerName, "zelta.h");
    tParsed imp = parse({"a.prg", "-implib=base.lib"});
    EXPECT_EQ(imp.settings.libraryMode, tLibraryMode::import);
    EXPECT_EQ(imp.settings.importName, "base.lib");
    EXPECT_EQ(imp.settings.headerName, "zeltape.h");
}

TEST(CommandLine, UsageErrors)
{
    const std::string usage = messageText(tMessage::usage);
    struct {
        std::vector<std::string> args;
        std::string expected;
    } cases[] = {
        {{}, usage},
        {{"a.txt", "-target=PALMOS"}, usage},
        {{"a.prg", "-target=GCCDEBUG"}, "Invalid target!\n\n" + usage},
        {{"a.prg", "-target="}, "Invalid target!\n\n" + usage},
        {{"a.prg", "-cpu=ALPHA"}, "Invalid CPU!\n\n" + usage},
        {{"a.prg", "-frobnicate"}, "Unknown argument : -frobnicate\n\n" + usage},
        {{"a.prg", "-version=" + std::string(64, '9')},
         "Version text too long (at most 63 characters): " + std::string(64, '9') + "\n\n" + usage},
    };
    for (const auto& c : cases) {
        tParsed p = parse(c.args);
        EXPECT_EQ(p.result, tArgsResult::usage) << ::testing::PrintToString(c.args);
        EXPECT_EQ(p.output, c.expected) << ::testing::PrintToString(c.args);
    }
    // The longest version the link buffer takes is still accepted.
    EXPECT_EQ(parse({"a.prg", "-version=" + std::string(63, '9')}).result, tArgsResult::ok);
}

TEST(CommandLine, UsageTextLineForLine)
{
    std::ostringstream out;
    printUsage(out);
    std::string text = out.str();
    EXPECT_EQ(text.rfind("Usage:\n\nezelta <source1.prg><source2.prg>...<sourceN.prg>\n", 0), 0u);
    EXPECT_NE(text.find("               WIN32DLL\n\nPonto de Entrada:\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 52), "         ezelta teste.prg teste1.prg -target=PALMOS\n");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 37);
}

}  // namespace
