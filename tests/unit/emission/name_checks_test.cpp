// The name checks of code generation, on whole sources: a name read where
// nothing declares it, a code block that reads its function's variables, and
// calls with more arguments than the callee takes, each settled only once the
// declaration that could still come (further down, or in a later source) has
// had its chance.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "codegen/emit_program.h"
#include "frontend/parse_source.h"

namespace fs = std::filesystem;

namespace {

struct tChecked {
    bool ok = true;
    std::string messages;
    std::vector<std::string> lateExterns;
};

// Compiles the sources (s1.prg, s2.prg ...) in a scratch folder, as the
// driver does up to the program-wide check.
tChecked check(const std::vector<std::string>& sources)
{
    char pattern[] = "/tmp/names_XXXXXX";
    EXPECT_NE(mkdtemp(pattern), nullptr);
    fs::path work = pattern;
    fs::path oldDir = fs::current_path();
    fs::current_path(work);
    tProgram program;
    program.autoPublicPauseMs = 0;
    program.activate();
    tProgramWriter writer(program);
    tChecked result;
    testing::internal::CaptureStdout();
    for (std::size_t i = 0; i < sources.size(); ++i) {
        std::string stem = "s" + std::to_string(i + 1);
        std::ofstream(stem + ".ppo") << sources[i] << "\n";
        program.options.moduleName = "S" + std::to_string(i + 1);
        program.options.sourcePath = stem + ".prg";
        program.options.sectionIndex = static_cast<int>(i) + 1;
        std::string error;
        result.ok = parseAndGenerate(writer, {stem + ".prg", stem + ".ppo", stem + ".cpp"}, error) && result.ok;
    }
    result.ok = program.checkProgramNames() && result.ok;
    std::string out = testing::internal::GetCapturedStdout();
    for (std::size_t at = out.find("Error:"); at != std::string::npos; at = out.find("Error:", at + 1)) {
        std::size_t start = out.rfind('\n', at);
        result.messages += out.substr(start == std::string::npos ? 0 : start + 1,
                                      out.find('\n', at) - (start == std::string::npos ? 0 : start + 1)) +
                           "\n";
    }
    result.lateExterns = program.lateExterns();
    fs::current_path(oldDir);
    fs::remove_all(work);
    return result;
}

const char kMain[] = "FUNCTION Main()\n";

TEST(NameChecks, DeclarationsThatComeLaterCount)
{
    struct {
        const char* what;
        std::string source;
    } cases[] = {
        {"LOCAL after the read", std::string(kMain) + "QOut(n)\nLOCAL n\nRETURN NIL\n"},
        {"STATIC at the end of the source", std::string(kMain) + "QOut(s)\nRETURN NIL\nSTATIC s := 1\n"},
        {"PUBLIC of another function", std::string(kMain) + "QOut(p)\nRETURN NIL\nFUNCTION Setup()\nPUBLIC p := 1\n"
                                                            "RETURN NIL\n"},
        {"automatic public assigned later", std::string(kMain) + "QOut(q)\nq := 2\nRETURN NIL\n"},
        {"parameter", "FUNCTION Main(a)\nQOut(a)\nRETURN NIL\n"},
        {"block reads a STATIC", std::string(kMain) + "LOCAL b := {|| s + 1 }\nRETURN NIL\nSTATIC s := 1\n"},
        {"block reads a PUBLIC", std::string(kMain) + "LOCAL b\nPUBLIC p := 1\nb := {|| p }\nRETURN NIL\n"},
        {"fewer arguments than parameters", std::string(kMain) + "QOut(F(1))\nRETURN NIL\nFUNCTION F(a, b)\n"
                                                                 "RETURN a\n"},
        {"console output with sixteen values", std::string(kMain) + "QOut(1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16)\n"
                                                                    "RETURN NIL\n"},
    };
    for (const auto& c : cases) {
        tChecked r = check({c.source});
        EXPECT_TRUE(r.ok) << c.what << "\n" << r.messages;
    }
}

TEST(NameChecks, ProgramsThatWouldNotCompile)
{
    struct {
        const char* what;
        std::string source;
        const char* message;
    } cases[] = {
        {"name nothing declares", std::string(kMain) + "QOut(nope)\nRETURN NIL\n",
         "s1.prg(2): Error: NOPE is read but nothing declares it"},
        {"@ of a name nothing declares", std::string(kMain) + "F(@nope)\nRETURN NIL\nFUNCTION F(x)\nRETURN x\n",
         "s1.prg(2): Error: NOPE is read"},
        {"block reads a LOCAL", std::string(kMain) + "LOCAL n := 1, b\nb := {|| n }\nRETURN NIL\n",
         "s1.prg(3): Error: the code block reads N, a LOCAL of MAIN"},
        {"block reads a parameter", "FUNCTION Main(a)\nLOCAL b := {|| a * 2 }\nRETURN NIL\n",
         "s1.prg(2): Error: the code block reads A, a parameter of MAIN"},
        // The block would see the public, not the function's LOCAL.
        {"block reads a LOCAL that a PUBLIC shadows",
         std::string(kMain) + "LOCAL n := 1, b\nb := {|| n }\nRETURN NIL\nFUNCTION G()\nPUBLIC n\nRETURN NIL\n",
         "s1.prg(3): Error: the code block reads N, a LOCAL of MAIN"},
        {"more arguments than parameters",
         std::string(kMain) + "QOut(F(1, 2, 3))\nRETURN NIL\nFUNCTION F(a, b)\n"
                              "RETURN a\n",
         "s1.prg(2): Error: F takes 2 parameter(s) and is called with 3 arguments"},
        {"empty arguments count", std::string(kMain) + "QOut(F(1, , ))\nRETURN NIL\nFUNCTION F(a, b)\nRETURN a\n",
         "F takes 2 parameter(s) and is called with 3 arguments"},
        {"console output with seventeen values",
         std::string(kMain) + "QOut(1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17)\nRETURN NIL\n",
         "s1.prg(2): Error: QOUT writes at most 16 values"},
        {"too few for a run-time function", std::string(kMain) + "QOut(NoRound(1))\nRETURN NIL\n",
         "s1.prg(2): Error: NOROUND takes 2 arguments and is called with 1"},
        {"function nobody defines", std::string(kMain) + "Nothing()\nRETURN NIL\n",
         "s1.prg(2): Error: NOTHING is called, but no source"},
    };
    for (const auto& c : cases) {
        tChecked r = check({c.source});
        EXPECT_FALSE(r.ok) << c.what;
        EXPECT_NE(r.messages.find(c.message), std::string::npos) << c.what << "\n" << r.messages;
    }
}

// A PUBLIC of a later source declares the name for the sources before it;
// those get its extern declaration through the shared header.
TEST(NameChecks, PublicOfALaterSource)
{
    tChecked r =
        check({std::string(kMain) + "QOut(shared)\nRETURN NIL\n", "FUNCTION Second()\nQOut(later)\nRETURN NIL\n",
               "FUNCTION Init()\nPUBLIC shared, later\nRETURN NIL\n"});
    EXPECT_TRUE(r.ok) << r.messages;
    EXPECT_EQ(r.lateExterns, (std::vector<std::string>{"SHARED", "LATER"}));
}

TEST(NameChecks, CallsAreCheckedAgainstLaterSources)
{
    tChecked r = check({std::string(kMain) + "QOut(Later(1, 2))\nRETURN NIL\n", "FUNCTION Later(a)\nRETURN a\n"});
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.messages.find("s1.prg(2): Error: LATER takes 1 parameter(s) and is called with 2"), std::string::npos)
        << r.messages;
}

}  // namespace
