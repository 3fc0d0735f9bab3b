// The grammar actions through the real scanner and parser: each snippet is
// parsed as top-level statements, generated into the source's procedure, and
// its text compared, so a wrong argument order or a missing node shows as a
// wrong text. Rejected constructs must fail with their exact message.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "codegen/emit_program.h"
#include "frontend/grammar_actions.h"
#include "frontend/orvic_lex.h"

namespace {

class GrammarActionsTest : public ::testing::Test {
protected:
    void SetUp() override { fresh(); }

    // A new program, so constant numbers start again at 0.
    void fresh()
    {
        writer.reset();
        programHolder.reset(new tProgram());
        tProgram& p = *programHolder;
        p.autoPublicPauseMs = 0;
        p.options.moduleName = "T";
        p.options.sourcePath = "t.prg";
        p.activate();
        p.beginSource();
        writer.reset(new tProgramWriter(p));
    }

    std::unique_ptr<tInstruction> parse(const std::string& text)
    {
        SSLexStringConsumer consumer(text + "\n");
        OrvicLexClass scanner(&consumer);
        OrvicYaccClass parser(&scanner, &zeltaYaccTable());
        EXPECT_EQ(parser.parse(), 0);
        directiveLine = parser.position().directiveSeen ? parser.position().directiveLine : -1;
        return std::unique_ptr<tInstruction>(parser.takeRoot());
    }

    // The body text that the snippet's statements generate.
    std::string body(const std::string& text)
    {
        std::unique_ptr<tInstruction> root = parse(text);
        if (!root || !writer->generateTree(*root) || programHolder->functions.empty())
            return "<nothing>";
        std::string out;
        const tFunctionDefinition& f = *programHolder->functions[0];
        for (int i = 0; i < f.body.count(); ++i)
            out += f.body.text(i);
        return out;
    }

    std::unique_ptr<tProgram> programHolder;
    std::unique_ptr<tProgramWriter> writer;
    long directiveLine = -1;
};

TEST_F(GrammarActionsTest, StatementsBuildTheirNodes)
{
    struct Case {
        const char* source;
        const char* text;
    };
    const Case cases[] = {
        // List constructors take the new item first: y is assigned inside x's value.
        {"LOCAL x, y\nx := y := 0", "\nX= __SET_OBJECT(X,Y= __SET_OBJECT(Y,__const_get_el(0)));\n"},
        {"LOCAL a, b\na := a * -b", "\nA= __SET_OBJECT(A,__MUL(A,__INV(B)));\n"},
        {"LOCAL a\na := 1 - 2 - 3",
         "\nA= __SET_OBJECT(A,__SUB(__SUB(__const_get_el(0),__const_get_el(1)),__const_get_el(2)));\n"},
        {"f(1,,3)", "F(__const_get_el(0), NULL, __const_get_el(1));\n"},
        {"f()", "F();\n"},
        {"LOCAL c\nIF c\nf()\nENDIF", "\nif ( __GET_BOOL(C ))\n{\nF();\n}\n"},
        {"LOCAL c\nIF c\nf()\nELSEIF c\ng()\nELSE\nh()\nENDIF",
         "\nif ( __GET_BOOL(C ))\n{\nF();\n}\nelse if ( __GET_BOOL(C ))\n{\nG();\n}\nelse\n{\nH();\n}\n"},
        {"LOCAL c\nDO CASE\nCASE c\nf()\nCASE .t.\ng()\nOTHERWISE\nh()\nENDCASE",
         "\nif (__GET_BOOL(C))\n{\nF();\n}\nelse if (__GET_BOOL(__const_get_el(0)))\n{\nG();\n}\nelse\n{\nH();\n}\n"},
        {"LOCAL c\nWHILE c\nEXIT\nENDDO", "\nwhile ( __GET_BOOL(C ))\n{\nbreak;\n\n}\n"},
        {"x := 1.5", "X= __SET_OBJECT(X,__const_get_el(0));\n"},
        {"x := \"\"", "X= __SET_OBJECT(X,__const_get_el(0));\n"},
        {"x := {|| 1}", "X= __SET_OBJECT(X,__BLOCK(vld_001));\n"},
        {"x := { 1, 2 }", "X= __SET_OBJECT(X,__CreateArray(__const_get_el(0), __const_get_el(1),__INIT_NUL()));\n"},
        {"x := iif(.t., 1, 2)",
         "X= __SET_OBJECT(X,( __GET_BOOL(__const_get_el(0)) ? __const_get_el(1) : __const_get_el(2) ));\n"},
        {"x := len(\"ab\")", "X= __SET_OBJECT(X,__Len(__const_get_el(0)));\n"},
        {"x := a->name", "X= __SET_OBJECT(X,__GetFieldByName(__const_get_el(0),__const_get_el(1)));\n"},
    };
    for (const Case& c : cases) {
        fresh();
        EXPECT_EQ(body(c.source), c.text) << c.source;
    }
}

TEST_F(GrammarActionsTest, ForWithoutStepCountsByOne)
{
    std::string text = body("LOCAL i\nFOR i := 1 TO 10\nNEXT");
    // The step is the constant 1, shared with the start value.
    EXPECT_NE(text.find("for ( I=__SET_OBJECT(I,__const_get_el(0)); "), std::string::npos) << text;
    EXPECT_NE(text.find("I=__SET_OBJECT(I,__SUM(I,__const_get_el(0))))"), std::string::npos) << text;
    EXPECT_EQ(programHolder->constants.count(), 3) << "1, 10 and the direction test's constant";
}

TEST_F(GrammarActionsTest, FieldNamedEndIsTheNameAfterTheArrow)
{
    EXPECT_EQ(body("x := a->end"), "X= __SET_OBJECT(X,__GetFieldByName(__const_get_el(0),__const_get_el(1)));\n");
    ASSERT_EQ(programHolder->constants.count(), 2);
    EXPECT_STREQ(programHolder->constants.entries()[1]->text, "end");
}

TEST_F(GrammarActionsTest, LineDirectiveSetsTheLineAndAddsNothing)
{
    EXPECT_EQ(body("#line 120 \"app.prg\"\nf()"), "F();\n");
    EXPECT_EQ(directiveLine, 120);
}

TEST_F(GrammarActionsTest, FunctionHeadsSwitchFunctions)
{
    std::unique_ptr<tInstruction> root = parse("STATIC FUNCTION one(a, b)\nRETURN a\nPROCEDURE two\nRETURN\n");
    ASSERT_TRUE(writer->generateTree(*root));
    ASSERT_EQ(programHolder->functions.count(), 2);
    EXPECT_STREQ(programHolder->functions[0]->name.text(), "ONE");
    EXPECT_EQ(programHolder->functions[0]->paramNames.count(), 2);
    EXPECT_FALSE(programHolder->functions[0]->procedure);
    EXPECT_TRUE(programHolder->functions[1]->procedure);
}

TEST_F(GrammarActionsTest, RejectedConstructsRaiseTheirMessages)
{
    struct Case {
        const char* source;
        const char* message;
    };
    const Case cases[] = {
        {"x := sequence", "Sequence not supported!"},
        {"x := pcount", "Function PCount() not supported!"},
        {"x := devpos", "Function DevPos() not supported!"},
        {"x := flock", "Function FLock() not supported!"},
        {"x := setpos", "Function SetPos() not supported!"},
        {"x := rlock", "Function RLock() not supported!"},
        {"x := inkey", "Function Inkey() not supported!"},
        {"x := a&b", "Macro not supported!"},
        {"x := &a.b", "Macro not supported!"},
        {"FUNCTION f()\n:m()\n", "Objects not supported!"},
        {"PARAMETERS a, b", "Parameters statement not supported!"},
        {"DECLARE a", "Declare statement not supported!"},
        {"x := {|a| f(), g()}", "Sintax not supported!"},
    };
    for (const Case& c : cases) {
        try {
            parse(c.source);
            ADD_FAILURE() << c.source << " was accepted";
        } catch (const SSException& e) {
            EXPECT_EQ(e.message(), c.message) << c.source;
            EXPECT_TRUE(e.hasPlace()) << c.source;
        }
    }
}

TEST_F(GrammarActionsTest, PrintProductionsWriteTheirTextAndBuildNothing)
{
    struct Case {
        const char* source;
        const char* printed;
    };
    const Case cases[] = {
        {"x := aeval(a)", "functionCall -> aeval ( parmList )\n"},
        {"x := M->y", "memVar -> memvar identifier\n"},
        {"BEGIN SEQUENCE\nf()\nEND", "statement -> begin sequence Eol blockStmt recoverOpt endSeq\n"},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStdout();
        std::unique_ptr<tInstruction> root = parse(c.source);
        std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_NE(printed.find(c.printed), std::string::npos) << c.source << ": " << printed;
        EXPECT_NE(root, nullptr);
    }
}

std::string nested(const char* open, int depth, const char* middle, const char* close)
{
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += open;
    text += middle;
    for (int i = 0; i < depth; ++i)
        text += close;
    return text;
}

// The tree is walked by recursion: nesting stops at kMaxNesting levels with
// the grammar's own message, and the tree built so far is freed.
TEST_F(GrammarActionsTest, NestingStopsAtTheLimit)
{
    struct Case {
        const char* what;
        std::string source;
        bool accepted;
    } cases[] = {
        {"IFs just within it", nested("IF x\n", kMaxNesting - 10, "y := 1\n", "ENDIF\n"), true},
        {"IFs beyond it", nested("IF x\n", kMaxNesting + 1, "y := 1\n", "ENDIF\n"), false},
        {"calls beyond it", "y := " + nested("f(", kMaxNesting + 1, "1", ")"), false},
        {"a long sum", "y := 1", false},
    };
    for (int i = 0; i < 3 * kMaxNesting; ++i)
        cases[3].source += " + 1";
    for (const Case& c : cases) {
        if (c.accepted) {
            EXPECT_NE(parse(c.source), nullptr) << c.what;
            continue;
        }
        try {
            parse(c.source);
            ADD_FAILURE() << c.what << " was accepted";
        } catch (const SSException& e) {
            EXPECT_EQ(e.message(), "Expressions and statements nested too deeply (over 2000 levels)!") << c.what;
        }
    }
}

// Lists are walked in loops: their length costs no stack, in the tree's
// generation or its deletion.
TEST_F(GrammarActionsTest, LongListsCostNoNesting)
{
    const int n = 200000;
    std::string elements, names;
    for (int i = 0; i < n; ++i) {
        elements += i ? ", 1" : "1";
        names += (i ? ", v" : "v") + std::to_string(i);
    }
    std::string text = body("LOCAL " + names + "\na := {" + elements + "}\nf(" + elements + ")");
    EXPECT_NE(text.find("__CreateArray(__const_get_el(0), __const_get_el(0)"), std::string::npos);
    EXPECT_EQ(programHolder->functions[0]->localNames.count(), n);
}

TEST_F(GrammarActionsTest, SyntaxErrorFreesWhatWasBuilt)
{
    // Runs under the leak checker in the sanitizer build.
    EXPECT_THROW(parse("FUNCTION f()\nx := (1 + 2\n"), SSException);
}

}  // namespace
