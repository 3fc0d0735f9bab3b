// The command lines each target's tools are given, recorded instead of run.
#include "toolchains.h"

#include "messages.h"
#include "test_support.h"

#include <fstream>
#include <sstream>

namespace {

struct tRig {
    tBuildSettings settings;
    tRecordingRunner runner;
    std::ostringstream out;

    explicit tRig(tTarget target, tCpu cpu = tCpu::ARM)
    {
        settings.target = target;
        settings.cpu = cpu;
        settings.sources = {"app.prg", "lib/more.prg"};
        settings.installDir = "/opt/ez";
        settings.desktopInstallDir = "/usr/zelta";
    }
    tToolchain toolchain() { return tToolchain(settings, runner, out); }
};

const std::string kCeInclude = " /I \"/opt/ez/include/wce\" /I \"/opt/ez/include\" ";

TEST(Toolchains, PreprocessCommandAndDefines)
{
    struct {
        tTarget target;
        std::vector<std::string> defines;
        std::string tool;
        std::string definesFile;
        bool setsInclude;
    } cases[] = {
        {tTarget::PALMOS,
         {"DEMO", "X=2"},
         "/opt/ez/bin/zelta16",
         "#include \"ezelta.ch\"\n\r#define DEMO\n\r#define X=2\n\r#define __PALM__\n\r",
         true},
        {tTarget::POCKETPC,
         {"__POCKETPC__", "A"},
         "/opt/ez/bin/zelta16",
         "#include \"ezelta.ch\"\n\r#define __POCKETPC__\n\r#define A\n\r",
         true},
        {tTarget::DOTNET, {}, "/opt/ez/bin/zelta16", "#include \"ezelta.ch\"\n\r#define __POCKETPC__\n\r", true},
        {tTarget::WIN32EXE, {}, "/usr/zelta/bin/zelta16", "#include \"ezelta.ch\"\n\r#define __WINEMUL__\n\r", false},
        {tTarget::WIN32DLL, {}, "/usr/zelta/bin/zelta16", "#include \"ezelta.ch\"\n\r#define __POCKETPC__\n\r", false},
        {tTarget::GCCDEBUG, {}, "/usr/zelta/bin/zelta16", "#include \"ezelta.ch\"\n\r#define __POCKETPC__\n\r", true},
    };
    for (const auto& c : cases) {
        tScratchDir dir;
        tRig rig(c.target);
        rig.settings.defines = c.defines;
        auto tc = rig.toolchain();
        ASSERT_TRUE(tc.preprocess("sub/app.prg"));
        std::string include = c.tool.substr(0, c.tool.size() - 11) + "include";
        EXPECT_EQ(rig.runner.commands,
                  (std::vector<std::string>{c.tool + " sub/app.prg /i" + include + "  /n /s /p /udefines.ch"}));
        EXPECT_EQ(rig.runner.outputs.at(0), tChildOutput::toStderr);
        EXPECT_EQ(readFile("defines.ch"), c.definesFile);
        EXPECT_EQ(rig.runner.environment,
                  c.setsInclude ? std::vector<std::string>{"INCLUDE=" + include} : std::vector<std::string>{});
        // A second source does not add the target define again.
        ASSERT_TRUE(tc.preprocess("b"));
        EXPECT_EQ(readFile("defines.ch"), c.definesFile);
        EXPECT_EQ(rig.runner.commands.at(1).substr(c.tool.size(), 7), " b.prg ");
    }
}

TEST(Toolchains, PreprocessPathsWithBlanksStayOneArgument)
{
    tScratchDir dir;
    tRig rig(tTarget::GCCDEBUG);
    rig.settings.desktopInstallDir = "/opt/my tools";
    ASSERT_TRUE(rig.toolchain().preprocess("my app.prg"));
    EXPECT_EQ(splitCommandLine(rig.runner.commands.at(0)),
              (std::vector<std::string>{"/opt/my tools/bin/zelta16", "my app.prg", "/i/opt/my tools/include", "/n",
                                        "/s", "/p", "/udefines.ch"}));
}

TEST(Toolchains, PreprocessFailures)
{
    tScratchDir dir;
    tRig rig(tTarget::WIN32EXE);
    rig.runner.exitCode = 1;
    EXPECT_FALSE(rig.toolchain().preprocess("a.prg"));
    EXPECT_EQ(rig.out.str(), "");  // zelta16 reports its own errors
    rig.runner.exitCode = kNotStarted;
    EXPECT_FALSE(rig.toolchain().preprocess("a.prg"));
    EXPECT_EQ(rig.out.str(), "\nCould not start /usr/zelta/bin/zelta16\n");
}

TEST(Toolchains, PalmCompile)
{
    for (tSdk sdk : {tSdk::PALM5, tSdk::PALM35}) {
        tRig rig(tTarget::PALMOS);
        rig.settings.sdk = sdk;
        auto tc = rig.toolchain();
        ASSERT_TRUE(tc.compile("app.cpp"));
        ASSERT_TRUE(tc.compile("lib/ctx001.cpp"));
        bool old = sdk == tSdk::PALM35;
        std::string flags =
            "-D__PALM__  -Os -fno-function-cse -Wall -frepo  -fno-exceptions -fno-rtti "
            "-fvtable-thunks -fcheck-new ";
        std::string version = old ? "-D__VERSION_3_5__ " : "-D__VERSION_5_3__ ";
        EXPECT_EQ(rig.runner.commands,
                  (std::vector<std::string>{
                      std::string("/opt/ez/bin/palmdev-prep -dsdk-") + (old ? "3.5" : "5r3"),
                      "/opt/ez/bin/m68k-palmos-gcc -c app.cpp -o app.o -I/opt/ez/include -I/opt/ez/include/math " +
                          flags + version,
                      "/opt/ez/bin/m68k-palmos-gcc -c lib/ctx001.cpp -o lib/ctx001.o -I/opt/ez/include "
                      "-I/opt/ez/include/math " +
                          flags + version}));
        EXPECT_EQ(rig.out.str(), "\nCompiling app.cpp\nCompiling lib/ctx001.cpp");
        EXPECT_EQ(rig.runner.environment, (std::vector<std::string>{"PATH=/opt/ez/bin", "PATH=/opt/ez/bin"}));
    }
}

TEST(Toolchains, PalmPrepFailureIsSilentAndRetried)
{
    tRig rig(tTarget::PALMOS);
    rig.runner.failAt = 1;
    auto tc = rig.toolchain();
    EXPECT_FALSE(tc.compile("app.cpp"));
    EXPECT_EQ(rig.out.str(), "");
    EXPECT_EQ(rig.runner.commands.size(), 1u);
    EXPECT_TRUE(tc.compile("app.cpp"));
    EXPECT_EQ(rig.runner.commands.at(1), "/opt/ez/bin/palmdev-prep -dsdk-5r3");
}

TEST(Toolchains, CeCompilePerCpu)
{
    const std::string tail = " /D \"UNICODE\" /D \"_UNICODE\" /D \"NDEBUG\" ";
    struct {
        tCpu cpu;
        std::string command;
    } cases[] = {
        {tCpu::SH3, "/opt/ez/bin/shcl /nologo /Zp4 /W3" + kCeInclude +
                        "/D _WIN32_WCE=300 /D \"WIN32_PLATFORM_PSPC\" /D \"SHx\" /D \"SH3\" /D \"_SH3_\" /D "
                        "UNDER_CE=300" +
                        tail + "/YX /Oxs /MC /c a.cpp"},
        {tCpu::ARM, "/opt/ez\\bin\\clarm /nologo    " + kCeInclude +
                        "/D _WIN32_WCE=300 /D \"ARM\" /D \"_ARM_\" /D UNDER_CE=300" + tail +
                        "/D \"_USRDLL\" /D \"ZELTACE_EXPORTS\"  /Oxs /MC /YX /Ox  /c a.cpp"},
        {tCpu::MIPS, "/opt/ez/bin/clmips /nologo /W3" + kCeInclude +
                         "/D _WIN32_WCE=300 /D \"MIPS\" /D \"_MIPS_\" /D UNDER_CE=300" + tail +
                         "/YX /Oxs /MC /c a.cpp"},
        {tCpu::x86, "/opt/ez/bin/cl /nologo /W3" + kCeInclude +
                        "/D _WIN32_WCE=300 /D \"WIN32\" /D \"STRICT\" /D \"_WIN32_WCE_EMULATION\" /D UNDER_CE=300 /D "
                        "\"INTERNATIONAL\" /D \"USA\" /D \"INTLMSG_CODEPAGE\" /D \"i486\" /D \"UNICODE\" /D "
                        "\"_UNICODE\" /D \"_X86_\" /D \"x86\" /D \"NDEBUG\" /D \"_USRDLL\" /D \"zeltaCE_EXPORTS\" /YX "
                        "/Gz /Oxs /c a.cpp"},
        {tCpu::ARMV4, "/opt/ez\\bin\\clarm /nologo    " + kCeInclude +
                          "/D _WIN32_WCE=420 /D \"ARM\" /D \"ARMV4\" /D \"ZELTA_DOT_NET_EXPORTS\" /D \"_ARM_\" /D "
                          "UNDER_CE=420 /D \"WIN32_PLATFORM_PSPC=400\" " +
                          tail + "/D \"_USRDLL\" /D \"ZELTACE_EXPORTS\"  /O2 /MC  /c a.cpp"},
        {tCpu::ARMV4ISTD, "/opt/ez\\bin\\clarm /nologo    " + kCeInclude +
                              "/D \"_WIN32_WCE=502\" /D \"ARM\" /D \"ARMV4\" /D \"ZELTA_DOT_NET_EXPORTS\" /D \"_ARM_\" "
                              "/D \"UNDER_CE\" /D \"WIN32_PLATFORM_PSPC\" " +
                              tail + "/D \"_USRDLL\" /D \"ZELTACE_EXPORTS\"  /O2 /MC  /c a.cpp"},
        {tCpu::ARMV4IPRO, "/opt/ez\\bin\\clarm /nologo    " + kCeInclude +
                              "/D _WIN32_WCE=502 /D \"ARM\" /D \"ARMV4\" /D \"ZELTA_DOT_NET_EXPORTS\" /D \"_ARM_\" /D "
                              "UNDER_CE=420 /D \"WIN32_PLATFORM_PSPC=400\" " +
                              tail + "/D \"_USRDLL\" /D \"ZELTACE_EXPORTS\"  /O2 /MC  /c a.cpp"},
    };
    for (const auto& c : cases) {
        tRig rig(tTarget::POCKETPC, c.cpu);
        ASSERT_TRUE(rig.toolchain().compile("a.cpp"));
        EXPECT_EQ(rig.runner.commands, (std::vector<std::string>{c.command})) << cpuName(c.cpu);
        EXPECT_EQ(rig.runner.environment,
                  (std::vector<std::string>{"PATH=/opt/ez/bin", "INCLUDE=/opt/ez/PocketPC/include"}));
        EXPECT_EQ(rig.out.str(), "");
    }
    // The three ARMV4I variants share one template.
    tRig srt(tTarget::POCKETPC, tCpu::ARMV4ISRT), ppc(tTarget::POCKETPC, tCpu::ARMV4IPPC),
        std(tTarget::POCKETPC, tCpu::ARMV4ISTD);
    srt.toolchain().compile("a.cpp"), ppc.toolchain().compile("a.cpp"), std.toolchain().compile("a.cpp");
    EXPECT_EQ(srt.runner.commands, std.runner.commands);
    EXPECT_EQ(ppc.runner.commands, std.runner.commands);
}

TEST(Toolchains, DotnetNeedsArmv4)
{
    tRig armv4(tTarget::DOTNET, tCpu::ARMV4), pocket(tTarget::POCKETPC, tCpu::ARMV4);
    ASSERT_TRUE(armv4.toolchain().compile("a.cpp"));
    pocket.toolchain().compile("a.cpp");
    EXPECT_EQ(armv4.runner.commands, pocket.runner.commands);
    EXPECT_EQ(armv4.runner.environment.back(), "INCLUDE=/opt/ez/Dotnet/include");

    tRig arm(tTarget::DOTNET, tCpu::ARM);
    EXPECT_FALSE(arm.toolchain().compile("a.cpp"));
    EXPECT_EQ(arm.runner.commands, (std::vector<std::string>{""}));
    EXPECT_EQ(arm.out.str(),
              "\nTarget DOTNET just support ARMV4 Cpu. Check your compilation command."
              "\nERROR ON COMPILE:\nError Code = 313 \nCheck if compiler for this plataform is "
              "installed.\n");
}

TEST(Toolchains, DesktopCompile)
{
    for (tTarget target : {tTarget::WIN32EXE, tTarget::WIN32DLL}) {
        tRig rig(target);
        ASSERT_TRUE(rig.toolchain().compile("a.cpp"));
        EXPECT_EQ(rig.runner.commands.at(0),
                  "cl /nologo /W3 /EHsc /O2 /I\"/usr/zelta/include\"  /I \".\" /D \"NDEBUG\" /D \"_WINDOWS\"  /D "
                  "\"_WINEMUL_\" /D \"WIN32\"  /D \"_CONSOLE\" /D \"_WINEMULZELTA_\" /D \"_WIN32_WCE\" /D "
                  "\"_WINEMUL_\" /D \"_MBCS\"   /D \"_USRDLL\"  /D \"_WINDLL\" /D \"__ON_MARHOLD__\" /FD /Zm400 /c "
                  "a.cpp");
        EXPECT_TRUE(rig.runner.environment.empty());
    }
}

TEST(Toolchains, CompileFailureMessage)
{
    tRig rig(tTarget::WIN32EXE);
    rig.runner.exitCode = kNotStarted;
    EXPECT_FALSE(rig.toolchain().compile("a.cpp"));
    EXPECT_EQ(rig.out.str(),
              "\nERROR ON COMPILE:\nError Code = 313 \nCheck if compiler for this plataform is "
              "installed.\n");
}

TEST(Toolchains, CeLinkAndLibrarian)
{
    const std::string objects = "app.obj lib/more.obj ctx001.obj ctx002.obj zeltace.lib  ezelta.res ";
    const std::string entry =
        "/nologo /base:\"0x00010000\" /stack:0x10000,0x1000 /entry:\"WinMainCRTStartup\" "
        "/incremental:no ";
    const std::string noDefault =
        "/nodefaultlib:libc.lib /nodefaultlib:libcd.lib /nodefaultlib:libcmt.lib "
        "/nodefaultlib:libcmtd.lib /nodefaultlib:msvcrt.lib /nodefaultlib:msvcrtd.lib ";
    struct {
        tTarget target;
        tCpu cpu;
        std::string link;
        std::string librarian;
    } cases[] = {
        {tTarget::POCKETPC, tCpu::SH3,
         "/opt/ez\\bin\\link  commctrl.lib coredll.lib aygshell.lib " + entry + noDefault +
             "/nodefaultlib:oldnames.lib /out:app.exe /subsystem:windowsce,3.00 /MACHINE:SH3 /OPT:NOREF  /version:0",
         "/opt/ez\\bin\\lib  /out:app.lib  /MACHINE:SH3 /subsystem:WINDOWSCE"},
        {tTarget::POCKETPC, tCpu::ARM,
         "/opt/ez\\bin\\link   corelibc.lib zeltaCE.lib commctrl.lib coredll.lib aygshell.lib " + entry +
             "/out:\"app.exe\" /subsystem:windowsce,3.00 /align:\"4096\" /MACHINE:ARM  /version:0",
         "/opt/ez\\bin\\lib   /nologo  /out:\"app.lib\"  /MACHINE:ARM  /subsystem:WINDOWSCE"},
        {tTarget::POCKETPC, tCpu::MIPS,
         "/opt/ez\\bin\\link  corelibc.lib zeltaCE.lib commctrl.lib coredll.lib aygshell.lib " + entry + noDefault +
             "/out:app.exe /subsystem:WINDOWSCE /MACHINE:MIPS  /version:0",
         "/opt/ez\\bin\\lib   /nologo  /out:app.lib /MACHINE:MIPS /subsystem:WINDOWSCE"},
        {tTarget::POCKETPC, tCpu::x86,
         "/opt/ez\\bin\\link    /nologo /stack:0x10000,0x1000 /subsystem:windows /incremental:no "
         "/nodefaultlib:\"OLDNAMES.lib\"  /nodefaultlib:\"libc.lib\" /out:\"app.exe\" /windowsce:emulation "
         "/MACHINE:IX86 /version:0",
         "/opt/ez\\bin\\lib   /nologo  /out:\"app.lib\"  /MACHINE:IX86 /subsystem:WINDOWSCE"},
        {tTarget::POCKETPC, tCpu::ARMV4,
         "/opt/ez\\bin\\link    commctrl.lib coredll.lib aygshell.lib corelibc.lib zeltaCE.lib  " + entry +
             "/out:\"app.exe\" /subsystem:windowsce,4.20 /align:\"4096\" /MACHINE:ARM  /version:0",
         "/opt/ez\\bin\\lib   /nologo  /out:\"app.lib\"  /MACHINE:ARM  /subsystem:WINDOWSCE"},
        {tTarget::DOTNET, tCpu::ARM,
         "/opt/ez\\bin\\link    commctrl.lib coredll.lib aygshell.lib corelibc.lib zeltaCE.lib  " + entry +
             "/out:\"app.exe\" /subsystem:windowsce,4.20 /align:\"4096\" /MACHINE:ARM  /version:0",
         "/opt/ez\\bin\\lib   /nologo  /out:\"app.lib\"  /MACHINE:ARM  /subsystem:WINDOWSCE"},
        {tTarget::POCKETPC, tCpu::ARMV4IPPC,
         "/opt/ez\\bin\\link    commctrl.lib coredll.lib aygshell.lib corelibc.lib zeltaCE.lib  " + entry +
             "/out:\"app.exe\" /subsystem:windowsce,5.02 /align:\"4096\" /MACHINE:THUMB  /version:0",
         "/opt/ez\\bin\\lib   /nologo  /out:\"app.lib\"  /MACHINE:THUMB  /subsystem:WINDOWSCE"},
    };
    for (const auto& c : cases) {
        for (bool library : {false, true}) {
            tScratchDir dir;
            tRig rig(c.target, c.cpu);
            rig.settings.libraryMode = library ? tLibraryMode::generate : tLibraryMode::none;
            tBuildOutputs outputs{2, "MORE"};
            ASSERT_TRUE(rig.toolchain().resourcesAndLink(outputs));
            std::string label = std::string(cpuName(c.cpu)) + (library ? " library" : "");
            ASSERT_EQ(rig.runner.commands.size(), 2u) << label;
            EXPECT_EQ(rig.runner.commands[0], "/opt/ez/bin/rc /l 0x409 /fo\"ezelta.res\" /r app.rc") << label;
            EXPECT_EQ(rig.runner.commands[1], (library ? c.librarian : c.link) + objects) << label;
            EXPECT_EQ(rig.runner.environment,
                      (std::vector<std::string>{std::string("LIB=/opt/ez/lib/") + cpuName(c.cpu)}));
            std::string target = c.target == tTarget::DOTNET ? "DotNet" : "PocketPC";
            EXPECT_EQ(rig.out.str(), "Compiling resources...\n\n" +
                                         std::string(library ? "Generating Lib..." : "Linking...") +
                                         "\nTarget = " + target + "\nCPU = " + cpuName(c.cpu) + "\n" +
                                         (library ? "app.lib" : "app.exe") + " generated!\n");
            EXPECT_EQ(readFile("app.rc"), "IDI_ICON1               ICON    DISCARDABLE     \"zelta.ico\"\r\n");
            EXPECT_TRUE(exists("zelta.ico"));
        }
    }
}

TEST(Toolchains, CeLinkImportAndVersion)
{
    tScratchDir dir;
    tRig rig(tTarget::POCKETPC, tCpu::ARM);
    rig.settings.libraryMode = tLibraryMode::import;
    rig.settings.importName = "base.lib";
    rig.settings.version = "102";
    rig.settings.iconFile = "my.ico";
    ASSERT_TRUE(rig.toolchain().resourcesAndLink({0, "MORE"}));
    EXPECT_EQ(rig.runner.commands[1].substr(0, 36), "/opt/ez\\bin\\link  base.lib corelibc.");
    EXPECT_NE(rig.runner.commands[1].find("/version:102app.obj lib/more.obj zeltace.lib  ezelta.res "),
              std::string::npos);
    EXPECT_FALSE(exists("zelta.ico"));
    EXPECT_EQ(readFile("app.rc"), "IDI_ICON1               ICON    DISCARDABLE     \"my.ico\"\r\n");
}

TEST(Toolchains, DesktopLink)
{
    const std::string libs =
        "comctl32.lib kernel32.lib user32.lib gdi32.lib winspool.lib comdlg32.lib "
        "advapi32.lib shell32.lib ole32.lib oleaut32.lib uuid.lib odbc32.lib odbccp32.lib "
        "wsock32.lib zeltaCE.lib zlib.lib ";
    const std::string paths = "/libpath:\"/usr/zelta/lib/windll\" /libpath:\"/usr/zelta/lib/zlib32\" ";
    const std::string objects = "app.obj lib/more.obj zeltace.lib  ezelta.res ";
    {
        tScratchDir dir;
        tRig rig(tTarget::WIN32EXE);
        ASSERT_TRUE(rig.toolchain().resourcesAndLink({0, "MORE"}));
        EXPECT_EQ(rig.runner.commands[0], "rc /l 0x409  /fo\"ezelta.res\"   /r app.rc");
        EXPECT_EQ(rig.runner.commands[1], "link   " + libs +
                                              " /nologo  /incremental:no  /machine:X86   "
                                              "/out:\"app.exe\"  " +
                                              paths + " /version:1   " + objects);
        EXPECT_EQ(rig.out.str(),
                  "Compiling resources...\n\nLinking...\nTarget =  Windows Executable\n"
                  "app.exe generated!\n");
    }
    {
        tScratchDir dir;
        tRig rig(tTarget::WIN32DLL);
        rig.settings.version = "3";
        rig.settings.libraryMode = tLibraryMode::import;
        rig.settings.importName = "base";
        writeFile("MORE.def", "EXPORTS\n");
        ASSERT_TRUE(rig.toolchain().resourcesAndLink({0, "MORE"}));
        EXPECT_EQ(rig.runner.commands[1], "link  base " + libs +
                                              " /nologo  /incremental:no  /machine:X86   "
                                              "/out:\"app.dll\"  " +
                                              paths + " /DLL  /version:3 /def:\"MORE.def\" " + objects);
        EXPECT_EQ(rig.out.str().substr(rig.out.str().size() - 48),
                  "Target =  Windows Shared Lib\napp.dll generated!\n");
    }
    {
        tScratchDir dir;
        tRig rig(tTarget::WIN32DLL);
        rig.settings.libraryMode = tLibraryMode::generate;
        ASSERT_TRUE(rig.toolchain().resourcesAndLink({0, "MORE"}));
        EXPECT_EQ(rig.runner.commands[1], "lib    /out:\"app.lib\"  " + paths + " /DLL " + objects);
    }
}

TEST(Toolchains, ResourceFailureSkipsTheLink)
{
    tScratchDir dir;
    tRig rig(tTarget::WIN32EXE);
    rig.runner.exitCode = kNotStarted;
    EXPECT_FALSE(rig.toolchain().resourcesAndLink({0, "APP"}));
    EXPECT_EQ(rig.runner.commands.size(), 1u);
    EXPECT_EQ(rig.out.str(), "Compiling resources...\nError compiling resources.\n");
}

TEST(Toolchains, RepeatedRunsKeepOneEntryPerLine)
{
    tScratchDir dir;
    for (int run = 0; run < 2; ++run) {
        tRig rig(tTarget::WIN32EXE);
        rig.toolchain().resourcesAndLink({0, "APP"});
    }
    EXPECT_EQ(readFile("app.rc"),
              "IDI_ICON1               ICON    DISCARDABLE     \"zelta.ico\"\r\n"
              "IDI_ICON1               ICON    DISCARDABLE     \"zelta.ico\"\r\n");
}

TEST(Toolchains, PalmLinkAndPackage)
{
    tScratchDir dir;
    tRig rig(tTarget::PALMOS);
    rig.settings.version = "102";
    ASSERT_TRUE(rig.toolchain().resourcesAndLink({1, "MORE"}));
    EXPECT_EQ(
        rig.runner.commands,
        (std::vector<std::string>{
            "/opt/ez/bin/m68k-palmos-multigen app.def", "/opt/ez/bin/m68k-palmos-as -o app-sections.o app-sections.s",
            "/opt/ez/bin/m68k-palmos-gcc app.o lib/more.o ctx001.o /opt/ez/lib/libzelta53.a app-sections.o "
            "app-sections.ld -o app.000 /usr/lib/libScanMgr.a /usr/lib/libPalmOSGlue.a ",
            "/opt/ez/bin/build-prc app.def app.000 *.bin -o app.exe -v 102 --backup"}));
    EXPECT_EQ(rig.out.str(), "\nLinking...\nTarget = PalmOS\napp.exe generated!\n");
    EXPECT_TRUE(rig.runner.environment.empty());
}

TEST(Toolchains, PalmLibraryAndFailures)
{
    tRig lib(tTarget::PALMOS);
    lib.settings.libraryMode = tLibraryMode::generate;
    lib.settings.sdk = tSdk::PALM35;
    ASSERT_TRUE(lib.toolchain().resourcesAndLink({0, "MORE"}));
    EXPECT_EQ(lib.runner.commands,
              (std::vector<std::string>{"/opt/ez/bin/m68k-palmos-ar rcs app.lib app.o lib/more.o "}));
    EXPECT_EQ(lib.out.str(), "\nGenerating Lib...\nTarget = PalmOS\napp.lib generated!\n");

    for (std::size_t failing = 1; failing <= 4; ++failing) {
        tRig rig(tTarget::PALMOS);
        rig.runner.failAt = failing;
        EXPECT_FALSE(rig.toolchain().resourcesAndLink({0, "MORE"})) << failing;
        EXPECT_EQ(rig.runner.commands.size(), failing);
        EXPECT_EQ(rig.out.str(), "\nLinking...\n");
    }
}

TEST(Toolchains, HostBuildCompilesAndLinksWithTheRuntime)
{
    tScratchDir dir;
    unsetenv("EZELTA_CXX");
    unsetenv("EZELTA_CXXFLAGS");
    tRig rig(tTarget::GCCDEBUG);
    auto tc = rig.toolchain();
    ASSERT_TRUE(tc.compile("lib/more.cpp"));
    tBuildOutputs outputs;
    outputs.contextCount = 1;
    ASSERT_TRUE(tc.resourcesAndLink(outputs));
    EXPECT_EQ(rig.runner.commands,
              (std::vector<std::string>{
                  "g++ -c lib/more.cpp -o lib/more.o -I. -I/usr/zelta/include -std=c++17 -O2 -w -fno-plt",
                  "g++ -o app.exe app.o lib/more.o ctx001.o /usr/zelta/lib/zeltamain.o -L/usr/zelta/lib -lzeltace "
                  "-Wl,-rpath,/usr/zelta/lib -std=c++17 -O2 -w -fno-plt"}));
    // No resource compiler: the script is written and the link goes on.
    EXPECT_NE(readFile("app.rc").find("IDI_ICON1"), std::string::npos);
    EXPECT_NE(rig.out.str().find("Resource script app.rc written"), std::string::npos);
    EXPECT_NE(rig.out.str().find("Target =  Windows Executable\napp.exe generated!\n"), std::string::npos);
}

// A program with exports is built as lib<first source>.so, position
// independent, exporting only what its module definitions list.
TEST(Toolchains, HostBuildWithExportsMakesASharedLibrary)
{
    tScratchDir dir;
    unsetenv("EZELTA_CXX");
    unsetenv("EZELTA_CXXFLAGS");
    writeFile("app.def", "LIBRARY      \"app\"\nHEAPSIZE 5120\nEXPORTS  Soma\n  Dobro\n  ");
    writeFile("more.def", "LIBRARY      \"more\"\nHEAPSIZE 5120\nEXPORTS  Triplo\n  ");
    tRig rig(tTarget::GCCDEBUG);
    rig.settings.sources = {"App.prg", "lib/more.prg"};
    auto tc = rig.toolchain();
    tBuildOutputs outputs;
    outputs.moduleDefinitions = {"app.def", "more.def"};
    ASSERT_TRUE(buildsSharedLibrary(rig.settings, outputs));
    tc.setSharedLibrary(true);
    ASSERT_TRUE(tc.compile("App.cpp"));
    ASSERT_TRUE(tc.resourcesAndLink(outputs));
    EXPECT_EQ(rig.runner.commands,
              (std::vector<std::string>{
                  "g++ -c App.cpp -o App.o -I. -I/usr/zelta/include -std=c++17 -O2 -w -fno-plt -fPIC",
                  "g++ -shared -o libapp.so App.o lib/more.o -L/usr/zelta/lib -lzeltace -Wl,-rpath,/usr/zelta/lib "
                  "-Wl,--version-script=App-exports.ld -std=c++17 -O2 -w -fno-plt"}));
    EXPECT_EQ(readFile("App-exports.ld"), "{\n  global:\n    Soma;\n    Dobro;\n    Triplo;\n  local:\n    *;\n};\n");
    EXPECT_NE(rig.out.str().find("Target =  Windows Shared Lib\nlibapp.so generated!\n"), std::string::npos)
        << rig.out.str();

    // Without exports, or when making a library archive, nothing changes.
    EXPECT_FALSE(buildsSharedLibrary(rig.settings, tBuildOutputs()));
    rig.settings.libraryMode = tLibraryMode::generate;
    EXPECT_FALSE(buildsSharedLibrary(rig.settings, outputs));
    rig.settings.libraryMode = tLibraryMode::none;
    rig.settings.target = tTarget::WIN32DLL;
    EXPECT_FALSE(buildsSharedLibrary(rig.settings, outputs));
}

TEST(Toolchains, ExportNamesOfAModuleDefinition)
{
    const struct {
        const char* text;
        std::vector<std::string> names;
    } cases[] = {
        {"LIBRARY      \"app\"\nHEAPSIZE 5120\nEXPORTS  Soma\n  Dobro\n  ", {"Soma", "Dobro"}},
        {"EXPORTS\r\n\tOne\r\n", {"One"}},
        {"LIBRARY \"app\"\n", {}},
        {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(definitionExports(c.text), c.names) << c.text;
}

TEST(Toolchains, HostBuildOptimisesLargeSourcesLess)
{
    tScratchDir dir;
    unsetenv("EZELTA_CXX");
    unsetenv("EZELTA_CXXFLAGS");
    std::ofstream("small.cpp") << std::string(1024 * 1024, ' ');
    std::ofstream("large.cpp") << std::string(1024 * 1024 + 1, ' ');
    tRig rig(tTarget::GCCDEBUG);
    auto tc = rig.toolchain();
    ASSERT_TRUE(tc.compile("small.cpp"));
    ASSERT_TRUE(tc.compile("large.cpp"));
    setenv("EZELTA_CXXFLAGS", "-O3", 1);
    ASSERT_TRUE(tc.compile("large.cpp"));
    unsetenv("EZELTA_CXXFLAGS");
    EXPECT_EQ(
        rig.runner.commands,
        (std::vector<std::string>{"g++ -c small.cpp -o small.o -I. -I/usr/zelta/include -std=c++17 -O2 -w -fno-plt",
                                  "g++ -c large.cpp -o large.o -I. -I/usr/zelta/include -std=c++17 -O1 -w -fno-plt",
                                  "g++ -c large.cpp -o large.o -I. -I/usr/zelta/include -O3"}));
}

TEST(Toolchains, HostBuildTakesCompilerAndFlagsFromTheEnvironment)
{
    tScratchDir dir;
    setenv("EZELTA_CXX", "clang++", 1);
    setenv("EZELTA_CXXFLAGS", "-O0 -g", 1);
    tRig rig(tTarget::GCCDEBUG);
    rig.settings.libraryMode = tLibraryMode::generate;
    auto tc = rig.toolchain();
    EXPECT_TRUE(tc.compile("app.cpp"));
    EXPECT_TRUE(tc.resourcesAndLink(tBuildOutputs{}));
    unsetenv("EZELTA_CXX");
    unsetenv("EZELTA_CXXFLAGS");
    EXPECT_EQ(rig.runner.commands,
              (std::vector<std::string>{"clang++ -c app.cpp -o app.o -I. -I/usr/zelta/include -O0 -g",
                                        "ar rcs app.lib app.o lib/more.o "}));
}

// The host compiler is there, so its failure is one of the generated code:
// said so, with the files kept for a report, never "is the compiler installed?".
TEST(Toolchains, HostCompileFailureKeepsTheGeneratedFiles)
{
    tScratchDir dir;
    tRig rig(tTarget::GCCDEBUG);
    rig.runner.exitCode = 1;
    EXPECT_FALSE(rig.toolchain().compile("app.cpp"));
    std::string out = rig.out.str();
    EXPECT_NE(out.find("ERROR ON COMPILE:\nThe C++ code generated for app.cpp failed to compile (exit code 1)"),
              std::string::npos)
        << out;
    EXPECT_EQ(out.find("Check if compiler"), std::string::npos) << out;
    EXPECT_TRUE(rig.settings.keepGeneratedC);
}

TEST(Toolchains, HostLinkFailureKeepsTheGeneratedFiles)
{
    tScratchDir dir;
    tRig rig(tTarget::GCCDEBUG);
    rig.runner.exitCode = 1;
    EXPECT_FALSE(rig.toolchain().resourcesAndLink(tBuildOutputs()));
    EXPECT_NE(rig.out.str().find("ERROR ON LINK:\nThe objects generated for app.exe failed to link (exit code 1)"),
              std::string::npos)
        << rig.out.str();
    EXPECT_TRUE(rig.settings.keepGeneratedC);
}

// A host compiler that cannot be started is a missing tool, as for every target.
TEST(Toolchains, HostCompilerMissingIsAToolError)
{
    tScratchDir dir;
    tRig rig(tTarget::GCCDEBUG);
    rig.runner.exitCode = kNotStarted;
    EXPECT_FALSE(rig.toolchain().compile("app.cpp"));
    EXPECT_NE(rig.out.str().find("Error Code = 313 \nCheck if compiler"), std::string::npos) << rig.out.str();
    EXPECT_FALSE(rig.settings.keepGeneratedC);
}

}  // namespace
