// Assignments in all their shapes, and the automatic-public rule behind them.
#include "codegen_support.h"

using namespace cgtest;

namespace {

using AssignmentTest = CodegenTest;

TEST_F(AssignmentTest, Shapes)
{
    program.publics.add(new String("X"));
    program.publics.add(new String("Y"));
    program.publics.add(new String("A"));
    struct {
        tInstruction* node;
        const char* expected;
    } cases[] = {
        {assign(id("x"), num("5")), "X= __SET_OBJECT(X,__const_get_el(0))"},
        {new tAssignExpression(id("y"), new tAsnList(new tSumAssign(id("x")))), "X= __SET_OBJECT(X,__SUM(X,Y))"},
        {new tAssignExpression(id("y"), new tAsnList(new tSubAssign(id("x")))), "X= __SET_OBJECT(X,__SUB(X,Y))"},
        {new tAssignExpression(id("y"), new tAsnList(new tDivAssign(id("x")))), "X= __SET_OBJECT(X,__DIV(X,Y))"},
        {new tAssignExpression(id("y"), new tAsnList(new tMulAssign(id("x")))), "X= __SET_OBJECT(X,__MUL(X,Y))"},
        {assign(new tArrayElement(id("a"), id("i")), id("y")),
         "_tmp_=__ARRAY_EL(A,I,__INIT_NUL());_tmp_= __SET_OBJECT(__ARRAY_EL(A,I,__INIT_NUL()),Y)"},
        // alias CLI is entry 1, field NOME entry 2.
        {assign(new tField(id("cli"), name("nome")), id("y")),
         "__SetField(__const_get_el(1),__GetFieldPos(__const_get_el(1),__const_get_el(2)),Y)"},
    };
    for (auto& c : cases)
        EXPECT_EQ(text(c.node), c.expected);
    EXPECT_EQ(program.errorCount(), 0);
}

// A compound assignment to an element or a field keeps the element or field
// shape, and the field's value (not its position) takes part in the sum.
TEST_F(AssignmentTest, CompoundAssignmentToElementAndField)
{
    program.publics.add(new String("A"));
    EXPECT_EQ(text(new tAssignExpression(num("1"), new tAsnList(new tSumAssign(new tArrayElement(id("a"), id("i")))))),
              "_tmp_=__ARRAY_EL(A,I,__INIT_NUL());_tmp_= __SET_OBJECT(__ARRAY_EL(A,I,__INIT_NUL()),"
              "__SUM(__ARRAY_EL(A,I,__INIT_NUL()),__const_get_el(0)))");
    EXPECT_EQ(text(new tAssignExpression(num("1"), new tAsnList(new tSumAssign(new tField(id("cli"), name("qt")))))),
              "__SetField(__const_get_el(1),__GetFieldPos(__const_get_el(1),__const_get_el(2)),"
              "__SUM(__GetFieldByName(__const_get_el(1),__const_get_el(2)),__const_get_el(0)))");
}

// x := y := 0 assigns y first and x from it.
TEST_F(AssignmentTest, ChainedAssignmentNests)
{
    program.publics.add(new String("X"));
    program.publics.add(new String("Y"));
    program.publics.add(new String("A"));
    tInstruction* chain = new tAsnList(new tAssign(id("y")), new tAsnList(new tAssign(id("x"))));
    EXPECT_EQ(text(new tAssignExpression(num("0"), chain)), "X= __SET_OBJECT(X,Y= __SET_OBJECT(Y,__const_get_el(0)))");
    chain = new tAsnList(new tAssign(new tArrayElement(id("a"), num("1"))), new tAsnList(new tAssign(id("x"))));
    EXPECT_EQ(text(new tAssignExpression(id("y"), chain)),
              "X= __SET_OBJECT(X,(_tmp_=__ARRAY_EL(A,__const_get_el(1),__INIT_NUL()),"
              "_tmp_= __SET_OBJECT(__ARRAY_EL(A,__const_get_el(1),__INIT_NUL()),Y)))");
}

TEST_F(AssignmentTest, StatementWithEqualsSignAssigns)
{
    program.publics.add(new String("X"));
    program.options.lineTracking = true;
    tInstruction::setConstructionLine(4);
    EXPECT_EQ(text(new tEqualExpr(id("x"), num("5"))), "__SL(4);X= __SET_OBJECT(X,__const_get_el(0));\n");
    tInstruction::setConstructionLine(0);
}

TEST_F(AssignmentTest, AutomaticPublicWarnsOncePerName)
{
    testing::internal::CaptureStdout();
    text(assign(id("nNew"), num("1")));
    text(assign(id("nNew"), num("2")));
    text(new tAssignExpression(num("1"), new tAsnList(new tSumAssign(id("nNew")))));
    program.openFunction("G", false);
    text(assign(id("nNew"), num("3")));
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "WARNING: Variable NNEW automatic declared as Public.\n");
    ASSERT_EQ(program.publics.count(), 1);
    EXPECT_STREQ(program.publics[0]->text(), "NNEW");
}

TEST_F(AssignmentTest, DeclaredNamesAreNotMadePublic)
{
    testing::internal::CaptureStdout();
    text(new tLocal(new tVarDefList(new tVarDefAssign(assign(id("nLoc"), num("1"))), nullptr)));
    program.statics.add(new String("SVAL"));
    text(assign(id("sVal"), num("1")));
    program.currentFunction->addParam("PARM");
    text(assign(id("parm"), num("1")));
    text(new tPublic(new tVarDefList(new tVarDefIdent(name("gPub")), nullptr)));
    text(assign(id("gPub"), num("1")));
    text(new tFunctionCall(name("f"), args({id("neverDeclared")})));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(program.publics.count(), 1);
}

TEST_F(AssignmentTest, DeclarationsWriteTheirInitialValues)
{
    tInstruction* list = new tVarDefList(new tVarDefAssign(assign(id("b"), num("2"))),
                                         new tVarDefList(new tVarDefIdent(name("a")), nullptr));
    EXPECT_EQ(text(new tLocal(list)), "B= __SET_OBJECT(B,__const_get_el(0));\n\n");
    // LOCAL a twice keeps one entry.
    text(new tLocal(new tVarDefList(new tVarDefIdent(name("A")), nullptr)));
    tFunctionDefinition* f = program.currentFunction;
    ASSERT_EQ(f->localNames.count(), 2);
    EXPECT_STREQ(f->localNames[0]->text(), "A");
    EXPECT_STREQ(f->localNames[1]->text(), "B");
}

TEST_F(AssignmentTest, StaticIsDeclaredNowAndInitialisedLater)
{
    tInstruction* list = new tVarDefList(new tVarDefAssign(assign(id("s"), num("9"))), nullptr);
    std::unique_ptr<tInstruction> statement(new tStatic(list));
    EXPECT_EQ(textOf(*statement), "");
    ASSERT_EQ(program.staticInitialisers.count(), 1);
    EXPECT_EQ(program.staticInitialisers[0], list);
    EXPECT_STREQ(program.statics[0]->text(), "S");
    program.openFunction("__init", true);
    EXPECT_EQ(textOf(*list), "S= __SET_OBJECT(S,__const_get_el(0));\n");
}

}  // namespace
