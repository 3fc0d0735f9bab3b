// Control statements, line markers and RETURN.
#include "codegen_support.h"

using namespace cgtest;

namespace {

class StatementTest : public CodegenTest {
protected:
    void SetUp() override
    {
        CodegenTest::SetUp();
        program.publics.add(new String("I"));
        program.publics.add(new String("X"));
    }
    void TearDown() override { tInstruction::setConstructionLine(0); }

    // x := 1 as a statement.
    tInstruction* setX() { return new tSourceLine(assign(id("x"), num("1"))); }
};

TEST_F(StatementTest, IfElseIfElse)
{
    tInstruction* elseIfs = new tElseIfList(new tElseIfList(new tElseIf(id("b"), new tBlockStmt(setX())), nullptr),
                                            new tElseIf(id("c"), nullptr));
    EXPECT_EQ(text(new tIf(id("a"), new tBlockStmt(setX()), elseIfs, new tBlockStmt(new tLoop()))),
              "if ( __GET_BOOL(A ))\n{\nX= __SET_OBJECT(X,__const_get_el(0));\n}\n"
              "else if ( __GET_BOOL(B ))\n{\nX= __SET_OBJECT(X,__const_get_el(0));\n}\n"
              "else if ( __GET_BOOL(C ))\n{\n}\n"
              "else\n{\ncontinue;\n}\n");
}

TEST_F(StatementTest, LineMarkersOnlyUnderLineTracking)
{
    tInstruction::setConstructionLine(12);
    tInstruction* plain = new tIf(id("a"), new tInstruction(), nullptr, nullptr);
    EXPECT_EQ(text(plain), "if ( __GET_BOOL(A ))\n{\n}\n");
    program.options.lineTracking = true;
    EXPECT_EQ(text(new tIf(id("a"), nullptr, nullptr, nullptr)).substr(0, 27), "__SL(12);if ( __GET_BOOL(A ");
    program.lineOffset = 100;
    EXPECT_EQ(text(new tExit()), "__SL(112);break;\n");
    EXPECT_EQ(text(new tLoop()), "__SL(112);continue;\n");
    EXPECT_EQ(text(new tWhile(id("a"), nullptr)), "__SL(112);while ( __GET_BOOL(A ))\n{\n\n}\n");
    EXPECT_EQ(text(new tSourceLine(id("a"))), "__SL(112);A;\n");
    EXPECT_EQ(text(new tBreak()), "break;");
}

// The direction test compares the step with 0: STEP 0.5 counts up.
TEST_F(StatementTest, ForComparesTheStepWithZero)
{
    tInstruction* loop = new tFor(new tAssignFor(name("i"), num("1")), num("2"), num("0.5"), new tBlockStmt(setX()));
    EXPECT_EQ(text(loop),
              "for ( I=__SET_OBJECT(I,__const_get_el(0)); __GET_BOOL(__GTE(__const_get_el(1),__const_get_el(2)))"
              "?__GET_BOOL(__LSE(I,__const_get_el(3))):__GET_BOOL(__GTE(I,__const_get_el(3)));"
              "I=__SET_OBJECT(I,__SUM(I,__const_get_el(1))))\n{\n"
              "X= __SET_OBJECT(X,__const_get_el(0));\n\n}\n");
    const tArray<tConstant>& pool = program.constants.entries();
    EXPECT_EQ(pool[2]->kind, tConstant::kNumber);
    EXPECT_EQ(pool[2]->number, 0.0);
}

TEST_F(StatementTest, ForControlVariableGoesThroughTheAutomaticPublicRule)
{
    testing::internal::CaptureStdout();
    text(new tFor(new tAssignFor(name("k"), num("1")), num("3"), num("1"), nullptr));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "WARNING: Variable K automatic declared as Public.\n");
}

TEST_F(StatementTest, DoCaseIsAnIfChain)
{
    tInstruction* cases =
        new tCaseList(new tCaseEntry(id("b"), nullptr), new tCaseList(new tCaseEntry(id("a"), nullptr), nullptr));
    EXPECT_EQ(text(new tCase(cases, new tOtherWise(new tLoop()))),
              "if (__GET_BOOL(A))\n{\n}\nelse if (__GET_BOOL(B))\n{\n}\nelse\n{\ncontinue;\n}\n");
}

// Blank lines between CASEs leave empty entries; they must not break the chain.
TEST_F(StatementTest, DoCaseSkipsEmptyEntries)
{
    tInstruction* cases =
        new tCaseList(nullptr, new tCaseList(new tCaseEntry(id("b"), nullptr),
                                             new tCaseList(nullptr, new tCaseList(new tCaseEntry(id("a"), nullptr),
                                                                                  new tCaseList(nullptr, nullptr)))));
    EXPECT_EQ(text(new tCase(cases, nullptr)), "if (__GET_BOOL(A))\n{\n}\nelse if (__GET_BOOL(B))\n{\n}\n");
    // With no case at all, OTHERWISE is a plain block rather than a dangling else.
    EXPECT_EQ(text(new tCase(new tCaseList(nullptr, nullptr), new tOtherWise(new tExit()))), "{\nbreak;\n}\n");
    EXPECT_EQ(program.errorCount(), 0);
}

TEST_F(StatementTest, ReturnInAFunction)
{
    tFunctionDefinition* f = program.currentFunction;
    EXPECT_EQ(text(new tReturn(id("x"))), "return __end_context((X));\n");
    EXPECT_EQ(f->endedWithReturn, 1);
    EXPECT_EQ(text(new tReturn()), "return __end_context(NULL);\n");
    text(setX());
    EXPECT_EQ(f->endedWithReturn, 0);
    program.options.libraryMode = codegen::kLibraryImport;
    EXPECT_EQ(text(new tReturn(id("x"))), "return (X);\n");
    EXPECT_EQ(text(new tReturn()), "return NULL;\n");
}

// RETURN leaves a procedure too; a value, if any, is still evaluated.
TEST_F(StatementTest, ReturnInAProcedure)
{
    tFunctionDefinition* p = program.openFunction("P", true);
    EXPECT_EQ(text(new tReturn()), "__end_context(NULL);return;\n");
    EXPECT_EQ(p->endedWithReturn, 1);
    EXPECT_EQ(text(new tReturn(new tFunctionCall(name("g"), nullptr))), "G();__end_context(NULL);return;\n");
    program.options.libraryMode = codegen::kLibraryImport;
    EXPECT_EQ(text(new tReturn()), "return;\n");
}

TEST_F(StatementTest, SuppressedReturnWritesOnlyItsMarker)
{
    tFunctionDefinition* f = program.currentFunction;
    f->suppressReturn = 1;
    program.options.lineTracking = true;
    tInstruction::setConstructionLine(3);
    EXPECT_EQ(text(new tReturn(id("x"))), "__SL(3);");
    EXPECT_EQ(f->endedWithReturn, 1);
}

}  // namespace
