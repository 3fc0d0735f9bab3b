// ezelta as a user runs it: output and exit status of whole runs. Each test
// works in its own directory with its own registry file; runs that need a
// preprocessor get a copy of ezelta in a scratch install tree whose
// bin/zelta16 is a small script that records how it was called.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

struct tResult {
    int status;
    std::string output;
};

class Ezelta : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/ezelta-e2e-XXXXXX";
        root_ = mkdtemp(pattern);
        work_ = root_ / "work";
        fs::create_directory(work_);
        compiler_ = EZELTA_PATH;
    }
    void TearDown() override { fs::remove_all(root_); }

    static void write(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    static std::string read(const fs::path& path)
    {
        std::ifstream file(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    // Runs ezelta in the work directory with the test's registry file.
    tResult run(const std::string& args)
    {
        return shell("cd '" + work_.string() + "' && EZELTA_REGISTRY='" + (root_ / "registry").string() + "' '" +
                     compiler_.string() + "' " + args);
    }

    // Runs a shell command, with its standard error joined to its output.
    static tResult shell(const std::string& line)
    {
        std::string command = line + " 2>&1";
        tResult r{-1, {}};
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe)
            return r;
        char buffer[4096];
        for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            r.output.append(buffer, n);
        int status = pclose(pipe);
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return r;
    }

    // An install tree holding a copy of ezelta and a recording zelta16 that
    // writes the ".ppo" beside its source (or fails with `exitCode`).
    fs::path makeInstallTree(int exitCode = 0)
    {
        fs::path dist = root_ / "dist";
        fs::create_directories(dist / "bin");
        fs::copy_file(compiler_, dist / "ezelta");
        write(dist / "bin" / "zelta16",
              "#!/bin/sh\n"
              "echo \"$@\" >> '" +
                  (root_ / "zelta16.args").string() +
                  "'\n"
                  "echo \"INCLUDE=$INCLUDE\" >> '" +
                  (root_ / "zelta16.args").string() +
                  "'\n"
                  "cp defines.ch '" +
                  (root_ / "defines.seen").string() +
                  "'\n"
                  "[ " +
                  std::to_string(exitCode) + " = 0 ] || { echo \"$1(1) Error: bad\" >&2; exit " +
                  std::to_string(exitCode) +
                  "; }\n"
                  "cp \"$1\" \"${1%.*}.ppo\"\n");
        fs::permissions(dist / "bin" / "zelta16", fs::perms::owner_all);
        compiler_ = dist / "ezelta";
        return dist;
    }

    fs::path root_, work_, compiler_;
};

// Already in the preprocessor's output form, since the fake zelta16 copies it.
const char kProgram[] = "FUNCTION Main()\n   LOCAL a := 1\n   RETURN NIL\n";

const char kBanner[] = "Embedded ZELTA Compiler - for Windows and Linux\nVersion 4.40.00 - Feb 19 2010 17:39:09\n";

TEST_F(Ezelta, AloneShowsBannerAndUsage)
{
    tResult r = run("");
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.output.rfind(kBanner, 0), 0u);
    EXPECT_NE(r.output.find("\n\nUsage:\n\nezelta <source1.prg>"), std::string::npos);
}

TEST_F(Ezelta, UsageErrors)
{
    struct {
        const char* args;
        const char* message;
    } cases[] = {
        {"a.txt -target=PALMOS", "Usage:\n"},
        {"a.prg -target=GCCDEBUG", "Invalid target!\n\nUsage:\n"},
        {"a.prg -cpu=Z80", "Invalid CPU!\n\nUsage:\n"},
        {"a.prg -bogus", "Unknown argument : -bogus\n\nUsage:\n"},
    };
    for (const auto& c : cases) {
        tResult r = run(c.args);
        EXPECT_EQ(r.status, 255) << c.args;
        EXPECT_NE(r.output.find(c.message), std::string::npos) << c.args << "\n" << r.output;
    }
}

TEST_F(Ezelta, MissingSource)
{
    write(work_ / "a.prg", "? 1\n");
    tResult r = run("a.prg nothere.prg -gFULL");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("File nothere.prg does not exists!\n"), std::string::npos);
}

TEST_F(Ezelta, DeviceTargetWithoutRegistry)
{
    write(work_ / "a.prg", "? 1\n");
    tResult r = run("a.prg -target=POCKETPC");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find("Invalid Registry Keys!\nPlease re-install ezelta software.\n"), std::string::npos);
}

TEST_F(Ezelta, PalmToolsMissingRestoresTheMounts)
{
    write(work_ / "a.prg", "? 1\n");
    const std::string mounts =
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Cygnus Solutions\\Cygwin\\mounts v2\\/]\n"
        "native=sz:C:\\cygwin\n";
    write(root_ / "registry",
          mounts + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Sardel\\ezelta]\nInstallDir=sz:" + (root_ / "none").string() + "\n");
    tResult r = run("a.prg");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find("Could not start " + (root_ / "none").string() + "/bin/zelta16"), std::string::npos);
    std::string registry = read(root_ / "registry");
    EXPECT_NE(registry.find("mounts v2\\/]\nflags=dword:8\nnative=sz:C:\\cygwin\n"), std::string::npos) << registry;
    EXPECT_NE(registry.find("mounts v2\\/usr/bin]\nflags=dword:10\nnative=sz:" + (root_ / "none").string() + "\\bin"),
              std::string::npos)
        << registry;
    EXPECT_FALSE(fs::exists(work_ / "defines.ch"));
}

// A Palm build gets as far as the resource compiler, which this host does
// not have: the segment definition and every resource file are written
// first, the missing tool is named, and the clean-up removes them.
TEST_F(Ezelta, PalmBuildWritesItsResourcesThenNamesTheMissingCompiler)
{
    fs::path dist = makeInstallTree();
    write(root_ / "registry", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Sardel\\ezelta]\nInstallDir=sz:" + dist.string() + "\n");
    write(work_ / "shop.prg", kProgram);
    for (const char* flags : {"", " -dirty"}) {
        tResult r = run(std::string("shop.prg") + flags);
        EXPECT_EQ(r.status, 2) << r.output;
        EXPECT_NE(r.output.find("\nGerando def file\nGerado def fileCompiling Resources...\n\nCould not start " +
                                dist.string() + "/bin/pilrc\n"),
                  std::string::npos)
            << r.output;
        EXPECT_FALSE(fs::exists(work_ / "shop.rcp")) << "the script goes once pilrc has run";
        const bool kept = *flags != 0;
        for (const char* file : {"shop.def", "resincl.h", "passfont.pfn", "left.pbitm", "right.pbitm", "shop.pbitm"})
            EXPECT_EQ(fs::exists(work_ / file), kept) << file << flags;
    }
}

TEST_F(Ezelta, PreprocessorCallAndCleanUp)
{
    fs::path dist = makeInstallTree();
    write(work_ / "a.prg", kProgram);
    tResult r = run("-dDEMO a.prg -gFULL");
    EXPECT_NE(r.output.find("Generating a.cpp.\n"), std::string::npos) << r.output;
    EXPECT_EQ(read(root_ / "zelta16.args"), "a.prg /i" + (dist / "include").string() +
                                                " /n /s /p /udefines.ch\nINCLUDE=" + (dist / "include").string() +
                                                "\n");
    EXPECT_EQ(read(root_ / "defines.seen"), "#include \"ezelta.ch\"\n\r#define DEMO\n\r#define __POCKETPC__\n\r");
    for (const char* gone : {"a.ppo", "a.cpp", "a.hpp", "zelta.h", "ctx001.cpp", "defines.ch"})
        EXPECT_FALSE(fs::exists(work_ / gone)) << gone;
    EXPECT_TRUE(fs::exists(work_ / "a.prg"));
}

TEST_F(Ezelta, DirtyKeepsTheIntermediateFiles)
{
    makeInstallTree();
    write(work_ / "a.prg", kProgram);
    run("a.prg -gFULL -dirty");
    EXPECT_EQ(read(work_ / "a.ppo"), std::string(kProgram) + "\n");  // the driver ended its last line
    EXPECT_TRUE(fs::exists(work_ / "defines.ch"));
    EXPECT_TRUE(fs::exists(work_ / "a.cpp"));
}

TEST_F(Ezelta, ParseErrorExitsWithOne)
{
    makeInstallTree();
    write(work_ / "a.prg", "FUNCTION Main(\n");
    tResult r = run("a.prg -gFULL");
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("Parsing a.ppo.\n"), std::string::npos) << r.output;
    EXPECT_FALSE(fs::exists(work_ / "a.ppo"));
}

TEST_F(Ezelta, MissingPpoExitsWithOne)
{
    fs::path dist = makeInstallTree();
    write(dist / "bin" / "zelta16", "#!/bin/sh\nexit 0\n");
    write(work_ / "a.prg", kProgram);
    tResult r = run("a.prg -gFULL");
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("\nArquivo a.ppo não encontrado.\n"), std::string::npos) << r.output;
}

TEST_F(Ezelta, PreprocessorErrorStopsTheRun)
{
    makeInstallTree(3);
    write(work_ / "a.prg", kProgram);
    tResult r = run("a.prg -target=WIN32EXE");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find("a.prg(1) Error: bad\n"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("Generating"), std::string::npos) << r.output;
    // WIN32EXE leaves INCLUDE as it was.
    EXPECT_EQ(read(root_ / "zelta16.args").find("INCLUDE=" + (root_ / "dist" / "include").string()), std::string::npos);
}

// zelta16's status 1 means errors in the source, which it has placed: the
// user's to mend (exit 1), not a toolchain failure.
TEST_F(Ezelta, PreprocessorSourceErrorExitsWithOne)
{
    makeInstallTree(1);
    write(work_ / "a.prg", kProgram);
    tResult r = run("a.prg -gFULL");
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("a.prg(1) Error: bad\n"), std::string::npos) << r.output;
}

// The real toolchain from here on: the dist tree's zelta16, g++ and run-time.

TEST_F(Ezelta, HostBuildMakesAProgramThatRuns)
{
    write(work_ / "hi.prg", "FUNCTION Main()\n   LOCAL n := 6\n   ? \"six times seven is\", n * 7\nRETURN NIL\n");
    tResult r = run("hi.prg -gFULL");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("Target =  Windows Executable\nhi.exe generated!\n"), std::string::npos) << r.output;
    EXPECT_FALSE(fs::exists(work_ / "hi.cpp")) << "intermediate files are cleaned up";
    tResult program = shell("cd '" + work_.string() + "' && ZELTA_APPDIR=. ./hi.exe");
    EXPECT_EQ(program.status, 0);
    EXPECT_EQ(program.output, "\nsix times seven is 42");
}

TEST_F(Ezelta, SyntaxErrorNamesTheSourceLine)
{
    write(work_ / "bad.prg", "FUNCTION Main()\n   LOCAL a := 1\n   a := (a +\nRETURN NIL\n");
    tResult r = run("bad.prg -gFULL");
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("SSYacc0105e: Error token failed, no valid token\nbad.prg(3): at end of line\n"),
              std::string::npos)
        << r.output;
    EXPECT_FALSE(fs::exists(work_ / "bad.exe"));
}

TEST_F(Ezelta, FailingHostCompilerExitsTwo)
{
    write(work_ / "hi.prg", kProgram);
    setenv("EZELTA_CXX", "false", 1);
    tResult r = run("hi.prg -gFULL");
    unsetenv("EZELTA_CXX");
    EXPECT_EQ(r.status, 2) << r.output;
    EXPECT_NE(r.output.find("ERROR ON COMPILE"), std::string::npos) << r.output;
}

}  // namespace
