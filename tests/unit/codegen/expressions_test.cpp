// The text of expression nodes, one line per construct. Constants are
// interned into a fresh pool, so their references count up from 0.
#include <functional>

#include "codegen_support.h"

using namespace cgtest;

namespace {

struct ExpressionCase {
    const char* what;
    std::function<tInstruction*()> build;
    const char* expected;
};

class ExpressionTest : public CodegenTest, public ::testing::WithParamInterface<ExpressionCase> {};

TEST_P(ExpressionTest, WritesItsText)
{
    const ExpressionCase& c = GetParam();
    EXPECT_EQ(text(c.build()), c.expected) << c.what;
    EXPECT_EQ(program.errorCount(), 0) << c.what;
}

const ExpressionCase kExpressions[] = {
    {"identifier upper-cased", [] { return id("nTotal"); }, "NTOTAL"},
    {"number", [] { return num("5"); }, "__const_get_el(0)"},
    {"nil", [] { return new tNil(); }, "__INIT_NIL()"},
    {"sum", [] { return new tOperation(id("a"), new tSum(), num("1")); }, "__SUM(A,__const_get_el(0))"},
    {"a * -b", [] { return new tOperation(id("a"), new tMult(), new tUnaryOperation(new tUnaryMinus(), id("b"))); },
     "__MUL(A,__INV(B))"},
    {"unary plus", [] { return new tUnaryOperation(new tUnaryPlus(), id("x")); }, "(X)"},
    {"not", [] { return new tUnaryNot(id("x")); }, "__INV(X)"},
    {"modulo and power",
     [] { return new tOperation(new tOperation(id("a"), new tMod(), id("b")), new tPow(), id("c")); },
     "__POW(__FMOD(A,B),C)"},
    {"sub and div", [] { return new tOperation(new tOperation(id("a"), new tSub(), id("b")), new tDiv(), id("c")); },
     "__DIV(__SUB(A,B),C)"},
    {"exact equal", [] { return new tRelation(id("a"), new tExactEqual(), id("b")); }, "__EEQ(A,B)"},
    {"equal", [] { return new tRelation(id("a"), new tEqual(), id("b")); }, "__EQ(A,B)"},
    {"different", [] { return new tRelation(id("a"), new tDiff(), id("b")); }, "__DIFF(A,B)"},
    {"greater", [] { return new tRelation(id("a"), new tGt(), id("b")); }, "__GT(A,B)"},
    {"greater or equal", [] { return new tRelation(id("a"), new tGte(), id("b")); }, "__GTE(A,B)"},
    {"less", [] { return new tRelation(id("a"), new tLs(), id("b")); }, "__LS(A,B)"},
    {"less or equal", [] { return new tRelation(id("a"), new tLse(), id("b")); }, "__LSE(A,B)"},
    {"contained in", [] { return new tRelation(id("a"), new tInStr(), id("b")); }, "__IN(A,B)"},
    {"and", [] { return new tAnd(id("a"), id("b")); }, "__INIT_BOOL(__GET_BOOL(A) && __GET_BOOL(B))"},
    {"or", [] { return new tOr(id("a"), id("b")); }, "__INIT_BOOL(__GET_BOOL(A) || __GET_BOOL(B))"},
    {"pre-increment", [] { return new tPreIncrement(id("i")); }, "__PREINCREMENT(I)"},
    {"post-increment", [] { return new tPostIncrement(id("i")); }, "__POSTINCREMENT(I)"},
    {"pre-decrement", [] { return new tPreDecrement(id("i")); }, "__PREDECREMENT(I)"},
    {"post-decrement", [] { return new tPostDecrement(id("i")); }, "__POSTDECREMENT(I)"},
    {"iif", [] { return new tIif(id("c"), id("a"), id("b")); }, "( __GET_BOOL(C) ? A : B )"},
    {"array element", [] { return new tArrayElement(id("a"), id("i")); }, "__ARRAY_EL(A,I,__INIT_NUL())"},
    {"empty array literal", [] { return new tDeclArray(); }, "__CreateArray(__INIT_NUL())"},
    {"array literal",
     [] {
         return new tDeclArray(args({id("a"), id("b")}));
     },
     "__CreateArray(A, B,__INIT_NUL())"},
    {"by reference", [] { return new tByRef(id("x")); }, "__ByRef(&X)"},
    {"call without arguments", [] { return new tFunctionCall(name("f"), nullptr); }, "F()"},
    {"call with an omitted argument",
     [] {
         return new tFunctionCall(name("f"), args({id("a"), new tParmNull(), id("b")}));
     },
     "F(A, NULL, B)"},
    {"field read", [] { return new tField(id("cli"), name("nome")); },
     "__GetFieldByName(__const_get_el(0),__const_get_el(1))"},
    {"field read, name as text", [] { return new tFieldEnd(id("cli"), "NOME"); },
     "__GetFieldByName(__const_get_el(0),__const_get_el(1))"},
    {"code block", [] { return new tCodeBlock(id("x")); }, "__BLOCK(vld_001)"},
    {"code block without parameters", [] { return new tValidParam(args({}), "X"); }, "__INIT_NUL()"},
};

INSTANTIATE_TEST_SUITE_P(Nodes, ExpressionTest, ::testing::ValuesIn(kExpressions));

using ConstantTest = CodegenTest;

// 1 and 1.0 share an entry; kinds never match; strings compare byte for byte.
TEST_F(ConstantTest, InterningRules)
{
    struct {
        tInstruction* node;
        int reference;
    } cases[] = {
        {num("1"), 0},
        {new tConst(tConst::kNumber, "1", ".0"), 0},
        {logical(".T."), 1},
        {str("1"), 2},
        {str("abc"), 3},
        {str("ABC"), 4},
        {str("abc"), 3},
        {logical(".t."), 1},
        {logical(".F."), 5},
        {new tConst(tConst::kNumber, "-", "2.5"), 6},
        {new tConst(tConst::kNumber, "0", ".5"), 7},
        {str(""), 8},
    };
    for (auto& c : cases)
        EXPECT_EQ(text(c.node), "__const_get_el(" + std::to_string(c.reference) + ")");
    const tArray<tConstant>& pool = program.constants.entries();
    ASSERT_EQ(pool.count(), 9);
    EXPECT_EQ(pool[1]->logical, 1);
    EXPECT_EQ(pool[5]->logical, 0);
    EXPECT_EQ(pool[6]->number, -2.5);
    EXPECT_EQ(pool[7]->number, 0.5);
}

// The pool lives for the run: a second source shares the first one's entries,
// and references carry the constant base of an imported library.
TEST_F(ConstantTest, PoolIsSharedAcrossSourcesAndOffsetByTheBase)
{
    EXPECT_EQ(text(num("7")), "__const_get_el(0)");
    program.releaseSource();
    program.options.constantBase = 100;
    program.beginSource();
    program.openFunction("G", false);
    EXPECT_EQ(text(num("7.0")), "__const_get_el(100)");
    EXPECT_EQ(text(str("7")), "__const_get_el(101)");
}

TEST_F(ConstantTest, CapturedModeRecordsTextsInsteadOfWriting)
{
    program.capturing = 1;
    EXPECT_EQ(text(name("myDll")), "");
    EXPECT_EQ(text(num("12.7")), "");
    EXPECT_EQ(text(logical(".T.")), "");
    EXPECT_EQ(text(str("Pascal")), "");
    program.capturing = 0;
    ASSERT_EQ(program.capturedArgs.count(), 4);
    EXPECT_STREQ(program.capturedArgs[0]->text(), "myDll");
    EXPECT_STREQ(program.capturedArgs[1]->text(), "12");
    EXPECT_STREQ(program.capturedArgs[2]->text(), "1");
    EXPECT_STREQ(program.capturedArgs[3]->text(), "Pascal");
    EXPECT_EQ(program.constants.count(), 0);
}

using InnerTest = CodegenTest;

// inner() chains decide which variables a code block's parameters collect.
TEST_F(InnerTest, ChainsEndAtTheFirstNodeWithoutAnInnerOrPointingAtItself)
{
    tInstruction* x = name("x");
    std::unique_ptr<tInstruction> notX(new tUnaryNot(new tIdentifier(x)));
    EXPECT_EQ(notX->inner(), x);
    std::unique_ptr<tInstruction> notSum(new tUnaryNot(new tOperation(id("a"), new tSum(), id("b"))));
    ASSERT_NE(notSum->inner(), nullptr);
    EXPECT_EQ(notSum->inner()->kind(), kindPlain);
    std::unique_ptr<tInstruction> notConst(new tUnaryNot(num("1")));
    EXPECT_EQ(notConst->inner(), nullptr);
    EXPECT_EQ(notConst->kind(), kindNot);
}

TEST_F(InnerTest, CodeBlockParametersCollectTheVariablesTheyName)
{
    std::unique_ptr<tInstruction> block(new tCodeBlock(id("x")));
    EXPECT_EQ(textOf(*block), "__BLOCK(vld_001)");
    // The list's inner node is its first part: the operation over A and B.
    tInstruction* params = new tValidParam(args({new tOperation(id("a"), new tSum(), id("b")), num("3")}), "X");
    EXPECT_EQ(text(params), "A,B");
    tValidFunction* vf = program.currentValid;
    ASSERT_NE(vf, nullptr);
    EXPECT_EQ(vf->blockKind, 1);
    EXPECT_EQ(program.blockVars.count(), 0);
    EXPECT_EQ(program.currentFunction->blockVarNames.count(), 2);
    EXPECT_EQ(text(new tValidParam(args({id("c"), id("d")}), "V")), "C");
    EXPECT_EQ(vf->blockKind, 2);
}

// The exit hook takes the block's function; elsewhere, in calls nested in its
// argument too, a block is a value.
TEST_F(InnerTest, OnlyTheExitHookTakesABlocksFunction)
{
    EXPECT_EQ(text(new tRegisterExit(args({new tCodeBlock(id("x"))}))), "__RegisterExit(vld_001)");
    EXPECT_EQ(text(new tLen(args({new tCodeBlock(id("x"))}))), "__Len(__BLOCK(vld_002))");
    EXPECT_EQ(text(new tRegisterExit(args({new tLen(args({new tCodeBlock(id("x"))}))}))),
              "__RegisterExit(__Len(__BLOCK(vld_003)))");
    EXPECT_EQ(text(new tCodeBlock(id("x"))), "__BLOCK(vld_004)");
}

TEST_F(InnerTest, SetValidParamWritesOnlyForTwoOrMoreArguments)
{
    EXPECT_EQ(text(new tSetVldParam(args({id("a")}))), "");
    EXPECT_EQ(text(new tSetVldParam(args({id("a"), id("b")}))), "__SetValidFuncParam(A, B,__INIT_NUL())");
    EXPECT_EQ(text(new tSetVldParam(args({id("a"), new tParmNull()}))), "");
}

TEST_F(InnerTest, CodeBlocksNumberAcrossSourcesFromTheValidBase)
{
    program.options.validBase = 40;
    EXPECT_EQ(text(new tCodeBlock(id("x"))), "__BLOCK(vld_041)");
    program.releaseSource();
    program.beginSource();
    program.openFunction("G", false);
    EXPECT_EQ(text(new tCodeBlock(id("y"))), "__BLOCK(vld_042)");
    EXPECT_EQ(program.libraryValidCount, 2);
}

}  // namespace
