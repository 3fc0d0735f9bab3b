// Unit tests of the preprocessor's pieces: the tokenizer on awkward lexemes,
// logical lines, rule matching edge cases, and the zelta16 command line.
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "preprocessor.h"
#include "source_reader.h"
#include "tokens.h"

namespace {

std::string kinds(const std::string& text)
{
    pp::Tokens toks;
    std::string err;
    if (!pp::tokenize(text, true, toks, err))
        return "error: " + err;
    std::string r;
    for (const pp::Token& t : toks) {
        static const char* names[] = {"I", "N", "S", "O"};
        if (!r.empty())
            r += ' ';
        r += std::string(names[static_cast<int>(t.kind)]) + ":" + t.text;
    }
    return r;
}

TEST(Tokenizer, AwkwardLexemes)
{
    struct Case {
        const char* text;
        const char* tokens;
    } cases[] = {
        {"1.50 .5 x.y", "N:1.50 N:.5 I:x O:. I:y"},
        {"a:=b==c!=d<>e", "I:a O::= I:b O:== I:c O:!= I:d O:<> I:e"},
        {".t. .and. .NoT. .F.", "O:.T. O:.AND. O:.NOT. O:.F."},
        {"a[1] := [s]", "I:a O:[ N:1 O:] O::= S:s"},
        {"{[x], f()[2]}", "O:{ S:x O:, I:f O:( O:) O:[ N:2 O:] O:}"},
        {"cli->nome ++i ??", "I:cli O:-> I:nome O:++ I:i O:??"},
        {"'it''s'", "S:it S:s"},
        {"1e3 1.5E+2 0x1F", "N:1e3 N:1.5E O:+ N:2 N:0x1F"},
        {"\"open", "error: Unterminated string"},
        {"[open", "error: Unterminated string"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kinds(c.text), c.tokens) << c.text;
}

TEST(Tokenizer, RendersWhatTheScannerReads)
{
    struct Case {
        const char* text;
        const char* out;
    } cases[] = {
        {"x := ''", "x := \"\""},
        {"x := [say \"hi\"]", "x := 'say \"hi\"'"},
        {"x := [it's \"hi\"]", "x := (\"it's \" + '\"hi\"')"},
        {"a <> b ** 2 .or. .n.", "a != b ^ 2 .OR. .F."},
    };
    for (const Case& c : cases) {
        pp::Tokens toks;
        std::string err;
        ASSERT_TRUE(pp::tokenize(c.text, true, toks, err)) << c.text;
        EXPECT_EQ(pp::renderTokens(toks), c.out) << c.text;
    }
}

TEST(SourceReader, LogicalLines)
{
    pp::SourceReader r(
        "a := 1 ;  // note\r\n"
        "  + 2\n"
        "* star line\n"
        "b := \"x;\" && gone\n"
        "c /* one\n"
        "two */ := 3\n"
        "#define X [a // b]\n");
    struct Want {
        const char* text;
        int first, count;
    } want[] = {
        {"a := 1     + 2", 1, 2}, {"", 3, 1}, {"b := \"x;\"", 4, 1}, {"c    := 3", 5, 2}, {"#define X [a", 7, 1},
    };
    pp::LogicalLine ll;
    for (const Want& w : want) {
        ASSERT_TRUE(r.next(ll));
        EXPECT_EQ(ll.text, w.text);
        EXPECT_EQ(ll.firstLine, w.first);
        EXPECT_EQ(ll.lineCount, w.count);
    }
    EXPECT_FALSE(r.next(ll));
}

// Preprocesses rules + one statement and returns the statement's line.
std::string apply(const std::string& rules, const std::string& statement)
{
    pp::Preprocessor pre{pp::Options()};
    std::string out;
    std::string text = rules + "\n" + statement + "\n";
    if (!pre.runText("t.prg", text, out))
        return "error: " + pre.errors().front();
    size_t start = out.find_first_not_of('\n');
    size_t end = out.find('\n', start);
    return start == std::string::npos ? "" : out.substr(start, end - start);
}

TEST(Rules, MatchingEdges)
{
    struct Case {
        const char* rules;
        const char* statement;
        const char* out;
    } cases[] = {
        // Keywords: abbreviated to four letters for #command, never for #xcommand.
        {"#command RECALL => dbRecall()", "reca", "dbRecall()"},
        {"#command RECALL => dbRecall()", "rec", "rec"},
        {"#xcommand RECALL => dbRecall()", "reca", "reca"},
        // A command must take the whole statement; assignments are left alone.
        {"#command SKIP [<n>] => dbSkip( <n> )", "skip := 1", "skip := 1"},
        {"#command SKIP [<n>] => dbSkip( <n> )", "Skip()", "Skip()"},
        // An expression stops at the rule's own keywords.
        {"#command SKIP [<n>] [ALIAS <a>] => Sk( <n>, <a> )", "SKIP ALIAS c", "Sk(, c )"},
        {"#command SKIP [<n>] [ALIAS <a>] => Sk( <n>, <a> )", "SKIP f(1) + 2 ALIAS c", "Sk( f(1) + 2, c )"},
        // Later rules win.
        {"#command GO <n> => Goto( <n> )\n#command GO TOP => Top()", "GO TOP", "Top()"},
        // Restricted words, translate inside strings untouched.
        {"#command SW <x: ON, OFF> => Sw( <\"x\"> )", "SW off", "Sw( \"off\" )"},
        {"#xtranslate DOUBLE(<x>) => (<x>*2)", "s := \"DOUBLE(1)\" + DOUBLE(1)", "s := \"DOUBLE(1)\" + (1*2)"},
        // Defines are case-sensitive and apply to rule results.
        {"#define N 5\n#command SETN => x := N", "SETN; n := N + n", "x := 5; n := 5 + n"},
        // Extended markers take a file name or a parenthesised expression.
        {"#command OPEN <(f)> => Op( <(f)> )", "OPEN c:\\data\\x.dbf", "Op( \"c:\\data\\x.dbf\" )"},
        {"#command OPEN <(f)> => Op( <(f)> )", "OPEN (cName + \".x\")", "Op( (cName + \".x\") )"},
        // A clause whose marker the result writes once matches once; the
        // statement is left whole rather than cut (the lost-text fault).
        {"#command SHOW [<x,...>] => Out( <x> )", "SHOW 1 2", "SHOW 1 2"},
        {"#command SHOW [<x,...>] => Out( <x> )", "SHOW 1, 2", "Out( 1, 2 )"},
        {"#command SET <x: ON, OFF> [<y: NOW>] => Set( <\"x\">, <.y.> )", "SET ON NOW NOW", "SET ON NOW NOW"},
        // Written inside a result clause, a marker repeats with its clause.
        {"#command PUT <a> [, <b>] => P( <a> )[; P( <b> )]", "PUT 1, 2, 3", "P( 1 ); P( 2 ); P( 3 )"},
        // A clause that opens with an expression never takes two in a row.
        {"#command USE [<a> [, <b>]] => U( [<a>] [,<b>] )", "USE x y", "USE x y"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(apply(c.rules, c.statement), c.out) << c.rules << " | " << c.statement;
}

TEST(Rules, MalformedRulesAreReported)
{
    struct Case {
        const char* rules;
        const char* error;
    } cases[] = {
        {"#command A <x> <x> => B", "t.prg(1) Error: Marker <X> used twice in the pattern"},
        {"#command A ] => B", "t.prg(1) Error: Unbalanced ] in the pattern"},
        {"#command => B", "t.prg(1) Error: Empty pattern in the rule"},
        {"#xtranslate A(<x>) => [B(<x>)", "t.prg(1) Error: Unclosed [ in the result"},
        // The marker kept its kind after the failed parse and overran the
        // marker table at expansion.
        {"#command FOO <x> => QOut( <x )\nFOO 1", "t.prg(1) Error: Unclosed or malformed marker <X> in the result"},
        {"#command FOO <(x> => QOut( <x> )", "t.prg(1) Error: Unclosed or malformed marker <X> in the pattern"},
        {"#command FOO <x:> => QOut( <x> )", "t.prg(1) Error: Unclosed or malformed marker <X> in the pattern"},
        {"x := 1\n/* never closed\ny := 2", "t.prg(2) Error: Unterminated /* comment"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(apply(c.rules, ""), std::string("error: ") + c.error) << c.rules;
}

// ---- the program ----

std::string readText(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class CommandLine : public ::testing::Test {
protected:
    // Each test gets its own directory: CTest runs them in parallel.
    void SetUp() override
    {
        std::string pattern = ::testing::TempDir() + "zelta16_cli_XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        std::system(("mkdir -p " + dir_ + "/inc").c_str());
        std::ofstream(dir_ + "/inc/defines.ch") << "#define GREETING \"hi\"\n";
    }
    void TearDown() override { std::system(("rm -rf " + dir_).c_str()); }
    int run(const std::string& args)
    {
        std::string cmd = "cd " + dir_ + " && INCLUDE= " ZELTA16_PATH " " + args + " >out.txt 2>err.txt";
        return WEXITSTATUS(std::system(cmd.c_str()));
    }
    std::string dir_;
};

TEST_F(CommandLine, WritesPpoBesideTheSource)
{
    std::system(("mkdir -p " + dir_ + "/src").c_str());
    std::ofstream(dir_ + "/src/app.prg") << "x := GREETING\n";
    EXPECT_EQ(run("src/app.prg /iinc /n /s /p /udefines.ch"), 0);
    EXPECT_EQ(readText(dir_ + "/src/app.ppo"), "x := \"hi\"\n");
}

TEST_F(CommandLine, FailureRemovesStalePpoAndReportsTheLine)
{
    std::ofstream(dir_ + "/bad.prg") << "x := 1\n#include \"nothere.ch\"\n";
    std::ofstream(dir_ + "/bad.ppo") << "stale\n";
    EXPECT_EQ(run("bad.prg /p"), 1);
    EXPECT_FALSE(std::ifstream(dir_ + "/bad.ppo").good());
    EXPECT_EQ(readText(dir_ + "/err.txt"), "bad.prg(2) Error: Cannot open include file 'nothere.ch'\n");
}

TEST_F(CommandLine, UsageErrors)
{
    EXPECT_EQ(run(""), 2);
    EXPECT_EQ(run("a.prg b.prg"), 2);
    EXPECT_EQ(run("--help"), 0);
    EXPECT_NE(readText(dir_ + "/out.txt").find("Usage: zelta16"), std::string::npos);
    EXPECT_EQ(run("missing.prg /p"), 1);
    EXPECT_EQ(readText(dir_ + "/err.txt"), "missing.prg(0) Error: Cannot open source file 'missing.prg'\n");
}

}  // namespace
