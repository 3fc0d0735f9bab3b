// Malformed and extreme programs through the real toolchain (zelta16, ezelta,
// g++ and the run-time of the dist tree). Each must either build and run, or
// end with the toolchain's own message naming the source place and exit 1:
// never a crash, a hang, or the C++ compiler's errors about generated lines.
// Large inputs are written by the tests.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

struct tRun {
    int status = -1;
    std::string output;
};

tRun shell(const std::string& line)
{
    tRun r;
    FILE* pipe = popen((line + " 2>&1").c_str(), "r");
    if (!pipe)
        return r;
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        r.output.append(buffer, n);
    int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

class Toolchain : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = ::testing::TempDir() + "zelta-malformed-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    void write(const std::string& name, const std::string& text)
    {
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }

    // ezelta <sources> -gFULL in the test's folder.
    tRun build(const std::string& sources)
    {
        return shell("cd '" + dir_.string() + "' && '" ZELTA_DIST "/ezelta' " + sources + " -gFULL </dev/null");
    }

    // The built program, headless, with its own application folder.
    tRun runProgram(const std::string& name)
    {
        fs::create_directories(dir_ / "app");
        return shell("cd '" + dir_.string() + "' && ZELTA_APPDIR='" + (dir_ / "app").string() +
                     "' ZELTA_UI=headless timeout 120 ./" + name + ".exe </dev/null");
    }

    // The compiler's own refusal: exit 1, the message, and no sign of g++.
    void expectRefused(const tRun& r, const std::string& text)
    {
        EXPECT_EQ(r.status, 1) << r.output;
        EXPECT_NE(r.output.find(text), std::string::npos) << "missing: " << text << "\n" << r.output;
        EXPECT_EQ(r.output.find("ERROR ON"), std::string::npos) << r.output;
        EXPECT_EQ(r.output.find("error:"), std::string::npos) << r.output;
    }

    fs::path dir_;
};

// One source each, refused with its place.
TEST_F(Toolchain, ProgramsTheCompilerRefuses)
{
    struct {
        const char* what;
        const char* body;  // the statements of Main
        const char* message;
    } cases[] = {
        {"comma missing in ?", "? 1 2", "t.prg(3)"},
        {"comma missing after a string", "? \"a\" b", "t.prg(3)"},
        {"comma missing in ??", "?? 3 4", "t.prg(3)"},
        {"exponent number", "x := 1e3", "t.prg(3)"},
        {"exponent number in ?", "? 1e3", "t.prg(3)"},
        {"block reads a LOCAL", "n := {|| x + 1 }", "t.prg(3): Error: the code block reads X, a LOCAL of MAIN"},
        {"name never declared", "? y + 1", "t.prg(3): Error: Y is read but nothing declares it"},
        {"seventeen values", "? 1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17",
         "t.prg(3): Error: QOUT writes at most 16 values"},
        {"more arguments than parameters", "? Two(1, 2, 3)",
         "t.prg(3): Error: TWO takes 2 parameter(s) and is called with 3 arguments"},
        {"function nobody defines", "? NoSuch(1)", "t.prg(3): Error: NOSUCH is called, but no source"},
        {"500-digit number", "? 1",  // body replaced below
         "is too large"},
        {"comparison block to ASort", "ASort(aList, , , {|p, q| p > q })", "t.prg(3): Error: a code block with"},
        {"number beyond an int in an export", "EXPFUNCT( \"Name\", \"INTEGER\", 99999999999 )",
         "t.prg(3): Error: a number in a foreign call or export must be a whole number of at most 10 digits"},
    };
    for (auto& c : cases) {
        std::string body = c.body;
        if (std::string(c.what) == "500-digit number")
            body = "? " + std::string(500, '7');
        write("t.prg", "FUNCTION Main()\n   LOCAL x := 1, n, aList := {}\n   " + body +
                           "\n   RETURN NIL\n\nFUNCTION Two(a, b)\n   RETURN a\n");
        SCOPED_TRACE(c.what);
        expectRefused(build("t.prg"), c.message);
    }
}

TEST_F(Toolchain, MalformedRulesAndCommentsAreThePreprocessorsErrors)
{
    write("r.prg", "#command FOO <x> => QOut( <x )\nFOO 1\n");
    expectRefused(build("r.prg"), "r.prg(1) Error: Unclosed or malformed marker <X> in the result");
    write("c.prg", "? 1\n/* never closed\n? 2\n");
    expectRefused(build("c.prg"), "c.prg(2) Error: Unterminated /* comment");
}

TEST_F(Toolchain, EmptySourcesHaveNoMainFunction)
{
    write("empty.prg", "");
    expectRefused(build("empty.prg"), "empty.prg: Error: the program has no main function");
    write("comment.prg", "// nothing but a comment\n");
    expectRefused(build("comment.prg"), "comment.prg: Error: the program has no main function");
}

TEST_F(Toolchain, NestingBeyondTheLimitIsRefused)
{
    const int deep = 100000;
    std::string ifs = "FUNCTION Main()\n   LOCAL x := 1\n";
    for (int i = 0; i < deep; ++i)
        ifs += "IF x > 0\n";
    ifs += "? x\n";
    for (int i = 0; i < deep; ++i)
        ifs += "ENDIF\n";
    write("ifs.prg", ifs + "RETURN NIL\n");
    expectRefused(build("ifs.prg"), "Expressions and statements nested too deeply (over 2000 levels)!");

    std::string sum = "FUNCTION Main()\n   LOCAL x := 1\n   x := 1";
    for (int i = 0; i < 300000; ++i)
        sum += " + 1";
    write("sum.prg", sum + "\n   ? x\n   RETURN NIL\n");
    expectRefused(build("sum.prg"), "sum.prg(3)");
}

// Within the limits the same shapes build and run.
TEST_F(Toolchain, DeepButAllowedProgramsRun)
{
    std::string ifs = "FUNCTION Main()\n   LOCAL x := 1\n";
    for (int i = 0; i < 800; ++i)
        ifs += "IF x > 0\n";
    ifs += "? \"deep\"\n";
    for (int i = 0; i < 800; ++i)
        ifs += "ENDIF\n";
    std::string list;
    for (int i = 1; i <= 3000; ++i)
        list += (i > 1 ? ", " : "") + std::to_string(i);
    write("deep.prg", ifs + "   ? Len({" + list + "}), Sum(" + list.substr(0, list.find(", 11,")) +
                          ")\n   RETURN NIL\n\nFUNCTION Sum(a, b, c, d, e, f, g, h, i, j)\n"
                          "   RETURN a + b + c + d + e + f + g + h + i + j\n");
    tRun r = build("deep.prg");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(runProgram("deep").output, "\ndeep\n3000 55");
}

// More literals than a 16-bit counter holds: the pool once crashed the
// program at start, and its linear search made the compile take minutes.
TEST_F(Toolchain, ManyConstantsBuildAndRun)
{
    const int functions = 35, perFunction = 1000;
    std::string program = "FUNCTION Main()\n   LOCAL n := 0\n";
    for (int f = 1; f <= functions; ++f)
        program += "   n += Len( F" + std::to_string(f) + "() )\n";
    program += "   ? n, F1()[ 1 ], F" + std::to_string(functions) + "()[ " + std::to_string(perFunction) +
               " ]\n   RETURN NIL\n";
    for (int f = 1; f <= functions; ++f) {
        program += "\nFUNCTION F" + std::to_string(f) + "()\n   RETURN {";
        for (int i = 1; i <= perFunction; ++i)
            program += (i > 1 ? ", \"s" : "\"s") + std::to_string((f - 1) * perFunction + i) + "\"";
        program += "}\n";
    }
    write("pool.prg", program);
    tRun r = build("pool.prg");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(runProgram("pool").output, "\n35000 s1 s35000");
}

TEST_F(Toolchain, SourceNamesThatAreNoIdentifiers)
{
    write("my-prog.prg", "? \"dash\"\n");
    ASSERT_EQ(build("my-prog.prg").status, 0);
    EXPECT_EQ(runProgram("my-prog").output, "\ndash");
    write("2024.prg", "? \"digits\"\n");
    ASSERT_EQ(build("2024.prg").status, 0);
    EXPECT_EQ(runProgram("2024").output, "\ndigits");
}

// A public is declared for the whole program, whichever source declares it.
TEST_F(Toolchain, PublicOfALaterSourceIsDeclared)
{
    write("one.prg", "FUNCTION Main()\n   Init()\n   ? Shared + 1, Second()\n   RETURN NIL\n");
    write("two.prg", "FUNCTION Second()\n   RETURN Later * 2\n");
    write("three.prg", "FUNCTION Init()\n   PUBLIC Shared := 41, Later := 4\n   RETURN NIL\n");
    tRun r = build("one.prg two.prg three.prg");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(runProgram("one").output, "\n42 8");
}

// Without a terminal the automatic-public warnings do not pause the compile.
TEST_F(Toolchain, ManyAutomaticPublicsBuild)
{
    std::string program = "FUNCTION Main()\n";
    for (int i = 0; i < 100; ++i)
        program += "   v" + std::to_string(i) + " := " + std::to_string(i) + "\n";
    write("auto.prg", program + "   ? v99\n   RETURN NIL\n");
    tRun r = build("auto.prg");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("WARNING: Variable V99 automatic declared as Public."), std::string::npos);
    EXPECT_EQ(runProgram("auto").output, "\n99");
}

}  // namespace
