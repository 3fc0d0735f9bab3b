// tProgram's records: function switching and the main function, parameter
// declarations, the output streams, the containers, and what happens to the
// empty children that unsupported constructs leave in a tree.
#include <cstdio>
#include <cstdlib>

#include "codegen_support.h"

using namespace cgtest;

namespace {

using ProgramTest = CodegenTest;

TEST_F(ProgramTest, FunctionHeadsSwitchTheCurrentFunction)
{
    program.releaseSource();
    program.beginSource();
    tInstruction* parms =
        new tParmDef(new tIdentList(new tIdentEle(name("b")), new tIdentList(new tIdentEle(name("a")), nullptr)));
    std::unique_ptr<tInstruction> head(new tFunction(name("calc"), parms, new tStaticFunc(0), 0));
    head->generate();
    tFunctionDefinition* f = program.currentFunction;
    ASSERT_NE(f, nullptr);
    EXPECT_STREQ(f->name.text(), "CALC");
    EXPECT_EQ(f->procedure, 0);
    EXPECT_EQ(f->parmDef, parms);
    ASSERT_EQ(f->paramNames.count(), 2);
    EXPECT_STREQ(f->paramNames[0]->text(), "A");
    EXPECT_STREQ(f->body.text(0), "\n");
    EXPECT_TRUE(program.mainFunction.empty());

    std::unique_ptr<tInstruction> proc(new tProcedure(name("TestMod"), new tParmDef(), nullptr));
    proc->generate();
    EXPECT_EQ(program.currentFunction->procedure, 1);
    EXPECT_STREQ(program.mainFunction.text(), "TESTMOD");
    // The first main found stays.
    std::unique_ptr<tInstruction> mainHead(new tFunction(name("Main"), new tParmDef(), nullptr, 1));
    mainHead->generate();
    EXPECT_STREQ(program.mainFunction.text(), "TESTMOD");
    EXPECT_EQ(program.functions.count(), 3);
}

TEST_F(ProgramTest, FirstFunctionSettlesTheLineOffset)
{
    program.beginSource();
    program.lineOffset = 10;
    tInstruction::setConstructionLine(4);
    std::unique_ptr<tInstruction> first(new tFunction(name("a"), new tParmDef(), nullptr, 0));
    std::unique_ptr<tInstruction> second(new tFunction(name("b"), new tParmDef(), nullptr, 0));
    tInstruction::setConstructionLine(0);
    first->generate();
    EXPECT_EQ(program.lineOffset, 6);
    second->generate();
    EXPECT_EQ(program.lineOffset, 6);
}

TEST_F(ProgramTest, ParameterDeclarationsForHeaderAndSource)
{
    char* buffer = nullptr;
    std::size_t size = 0;
    program.headerFile = open_memstream(&buffer, &size);
    program.options.sectionIndex = 2;
    program.sourceFile = program.headerFile;
    std::unique_ptr<tInstruction> parms(
        new tParmDef(new tIdentList(new tIdentEle(name("b")), new tIdentList(new tIdentEle(name("a")), nullptr))));
    std::unique_ptr<tInstruction> none(new tParmDef());
    parms->emitDecl(1, 0);
    program.writeHeader("|");
    parms->emitDecl(0, 0);
    program.writeHeader("|");
    parms->emitDecl(0, 1);
    program.writeHeader("|");
    none->emitDecl(1, 0);
    none->emitDecl(0, 1);
    program.writeText("|100%%");
    std::fclose(program.headerFile);
    program.headerFile = program.sourceFile = nullptr;
    EXPECT_STREQ(buffer, "(pObj_Node A=__INIT_NIL(),pObj_Node B=__INIT_NIL())|(pObj_Node A,pObj_Node B)|A,B|()|100%");
    std::free(buffer);
    EXPECT_EQ(parms->hasItems(), 1);
    EXPECT_EQ(none->hasItems(), 0);
}

TEST_F(ProgramTest, FirstSourceIsBufferedWithBareLineFeeds)
{
    program.options.sectionIndex = 1;
    program.writeLine("a");
    program.writeText("b%");
    program.writeText("%c%%%%");
    // A "%%" is folded within a piece, never across two.
    EXPECT_EQ(program.firstSource.text(), "a\nb%%c%%");
}

TEST_F(ProgramTest, LongFragmentsAreKeptWhole)
{
    std::string longName(600, 'Q');
    program.appendf("%s;", longName.c_str());
    EXPECT_EQ(std::string(program.currentFunction->lastFragment()), longName + ";");
}

// Unsupported constructs reach code generation as missing children: each is
// reported with its line, counted, and writes no C.
TEST_F(ProgramTest, MissingChildrenAreReportedNotWritten)
{
    struct {
        tInstruction* node;
        const char* message;
    } cases[] = {
        {new tSourceLine(nullptr),
         "testmod.prg(7): Error: statement cannot be compiled: a part of it is not supported.\n"},
        {new tIif(id("c"), nullptr, id("b")),
         "testmod.prg(7): Error: IIF cannot be compiled: a part of it is not supported.\n"},
        {new tIdentifier(nullptr),
         "testmod.prg(7): Error: identifier cannot be compiled: a part of it is not supported.\n"},
        {new tOperation(id("a"), new tSum(), nullptr),
         "testmod.prg(7): Error: operation cannot be compiled: a part of it is not supported.\n"},
        {new tLocal(new tVarDefList(nullptr, nullptr)),
         "testmod.prg(7): Error: declaration cannot be compiled: a part of it is not supported.\n"},
        {new tFunctionCall(nullptr, nullptr),
         "testmod.prg(7): Error: function call cannot be compiled: a part of it is not supported.\n"},
        {new tFor(new tAssignFor(nullptr, num("1")), num("2"), num("1"), nullptr),
         "testmod.prg(7): Error: FOR cannot be compiled: a part of it is not supported.\n"},
        {new tField(id("cli"), nullptr),
         "testmod.prg(7): Error: field cannot be compiled: a part of it is not supported.\n"},
        {assign(new tFunctionCall(name("f"), nullptr), num("1")),
         "testmod.prg(7): Error: assignment: the target is not a variable, array element or field.\n"},
        {new tValidParam(args({id("a")}), "X"),
         "testmod.prg(7): Error: a code block with parameters ({|x| ...}) only validates dialog fields "
         "(SetVldParam); a block used as a value takes none.\n"},
    };
    program.lineOffset = 2;
    int expectedErrors = 0;
    for (auto& c : cases) {
        testing::internal::CaptureStdout();
        std::unique_ptr<tInstruction> node(c.node);
        // The node's own line is fixed at construction; relabel through the offset.
        program.lineOffset = 7 - static_cast<int>(node->sourceLine());
        std::string written = textOf(*node);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.message);
        EXPECT_EQ(program.errorCount(), ++expectedErrors);
        EXPECT_EQ(written.find("__SET_OBJECT(,"), std::string::npos);
    }
}

TEST_F(ProgramTest, StatementsOutsideAnyFunctionAreReportedOnce)
{
    program.releaseSource();
    program.beginSource();
    tInstruction::setConstructionLine(3);
    std::unique_ptr<tInstruction> list(
        new tStatList(new tStatList(new tSourceLine(id("a"))), new tSourceLine(id("b"))));
    tInstruction::setConstructionLine(0);
    testing::internal::CaptureStdout();
    list->generate();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "testmod.prg(3): Error: statement outside a FUNCTION or PROCEDURE.\n");
    EXPECT_EQ(program.errorCount(), 1);
    // A file-level STATIC writes nothing and is fine.
    std::unique_ptr<tInstruction> statics(new tStatic(new tVarDefList(new tVarDefIdent(name("s")), nullptr)));
    statics->generate();
    EXPECT_EQ(program.errorCount(), 1);
}

// A source is one chain of statement lists, a link per statement: its length
// must cost neither stack nor order, in generating and in deleting.
TEST_F(ProgramTest, LongStatementChainsNeedNoStack)
{
    constexpr int kStatements = 1000000;
    tInstruction* chain = new tStatList(new tSourceLine(num("0")));
    for (int i = 1; i < kStatements; ++i)
        chain = new tStatList(chain, i % 2 ? nullptr : new tSourceLine(num(i == kStatements - 2 ? "7" : "0")));
    std::string body = text(chain);
    EXPECT_EQ(body.size(), std::string("__const_get_el(0);\n").size() * (kStatements / 2));
    const std::string last = "__const_get_el(0);\n__const_get_el(1);\n";
    EXPECT_EQ(body.substr(body.size() - last.size()), last);
}

// Fragments lie end to end in one buffer that moves as it grows: adding a
// fragment's own text must copy it from where it lies before the move. Sealing
// folds "%%" within a fragment, never across two, and drops the terminators.
TEST(FragmentsTest, AddTruncateAndSeal)
{
    tFragments f;
    f.add("a");
    for (int i = 0; i < 200; ++i)
        f.add(f.text(f.count() - 1));
    ASSERT_EQ(f.count(), 201);
    EXPECT_STREQ(f.text(200), "a");
    f.truncate(2);
    f.add("bc");
    EXPECT_EQ(f.join(0, f.count()), "aabc");
    f.seal();
    EXPECT_EQ(f.sealed(), "aabc");
    EXPECT_TRUE(f.empty());

    f.add("x%");
    f.add("%y%%z%%%");
    f.add("");
    f.add("100%");
    f.seal();
    EXPECT_EQ(f.sealed(), "aabcx%%y%z%%100%");
    f.clear();
    EXPECT_EQ(f.sealed(), "");
}

TEST(ContainerTest, ArrayGrowthSteps)
{
    tArray<int> array;
    int value = 0;
    std::vector<int> capacities;
    for (int i = 0; i < 120; ++i) {
        if (array.count() == array.capacity())
            capacities.push_back(array.capacity());
        EXPECT_EQ(array.add(&value), i);
    }
    EXPECT_EQ(capacities, (std::vector<int>{0, 2, 4, 6, 8, 10, 26, 42, 58, 74, 92, 115}));
    EXPECT_EQ(array.cursor(), -1);
    EXPECT_EQ(array.removeAt(500), nullptr);
    EXPECT_EQ(array.removeAt(0), &value);
    EXPECT_EQ(array.count(), 119);
}

TEST(ContainerTest, StringOperations)
{
    String s;
    EXPECT_STREQ(s.text(), "");
    EXPECT_EQ(s.at(0), nullptr);
    s.assign("Abc");
    s.append("dE");
    EXPECT_EQ(s.length(), 5u);
    EXPECT_EQ(*s.at(4), 'E');
    EXPECT_EQ(s.at(5), nullptr);
    EXPECT_TRUE(s.equalsIgnoreCase("ABCDE"));
    EXPECT_FALSE(s.equalsIgnoreCase("ABCD"));
    EXPECT_FALSE(s.equalsIgnoreCase(nullptr));
    String copy(s);
    s.assign(nullptr);
    EXPECT_TRUE(s.empty());
    EXPECT_STREQ(copy.text(), "AbcdE");
    copy = copy;
    EXPECT_STREQ(copy.text(), "AbcdE");
}

}  // namespace
