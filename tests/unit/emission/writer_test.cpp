// The program writers on hand-made records: the first source's buffered text
// and its public definitions, context files and their 400-entry split, entry
// points per target, library modes, code-block prologues, the implicit
// procedure of top-level statements, and string constants that must compile.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>

#include "ast/ast.h"
#include "codegen/emit_program.h"
#include "codegen/program.h"

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool exists(const std::string& path) { return std::ifstream(path).good(); }

int count(const std::string& text, const std::string& piece)
{
    int n = 0;
    for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++n;
    return n;
}

class WriterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/emission_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        ASSERT_NE(getcwd(oldDir_, sizeof oldDir_), nullptr);
        ASSERT_EQ(chdir(dir_.c_str()), 0);
        program.autoPublicPauseMs = 0;
        program.activate();
    }

    void TearDown() override
    {
        ASSERT_EQ(chdir(oldDir_), 0);
        std::string command = "rm -rf '" + dir_ + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }

    // Starts source `index` (1-based) of the run.
    void begin(const char* path, const char* module, int index)
    {
        program.options.sourcePath = path;
        program.options.moduleName = module;
        program.options.sectionIndex = index;
        program.beginSource();
    }

    tFunctionDefinition* function(const char* name, bool procedure, const char* body)
    {
        tFunctionDefinition* f = program.openFunction(name, procedure);
        program.append(body);
        return f;
    }

    void finish(int& contexts)
    {
        ASSERT_TRUE(writer.writeFirstSource());
        ASSERT_TRUE(writer.writeInitAndContexts(contexts));
        ASSERT_TRUE(writer.writeSharedHeader(contexts));
    }

    tProgram program;
    tProgramWriter writer{program};
    std::string dir_;
    char oldDir_[4096];
};

TEST_F(WriterTest, OneSourceWithoutLiteralsHasNoContextFile)
{
    program.options.target = tTarget::GCCDEBUG;
    begin("app.prg", "APP", 1);
    function("MAIN", true, "QOUT();\n");
    ASSERT_TRUE(writer.writeSource("app.prg"));
    EXPECT_FALSE(exists("app.cpp")) << "the first source is buffered until the end";
    int contexts = -1;
    finish(contexts);
    EXPECT_EQ(contexts, 0);
    std::string cpp = readFile("app.cpp");
    EXPECT_EQ(cpp.find("__const_set_amount"), std::string::npos);
    EXPECT_EQ(cpp.find("__cxt_init_"), std::string::npos);
    EXPECT_FALSE(exists("ctx001.cpp"));
    EXPECT_NE(cpp.find("#include \"zelta.h\"\nvoid __initStatics();\npObj_Node _tmp_=NULL;\n"), std::string::npos);
    EXPECT_NE(cpp.find("void MAIN()\n{\n__begin_context();\n__LockStack(__INIT_NUL());\nQOUT();\n"
                       "__end_context(NULL);return;\n}\n"),
              std::string::npos);
    EXPECT_NE(cpp.find("      MAIN();\n"), std::string::npos);
    EXPECT_NE(cpp.find("\r\nvoid __initStatics()\r\n{\r\n__init_app();\n\r\n}\r\n"), std::string::npos);
    EXPECT_EQ(readFile("app.hpp"), "void MAIN();\r\n void __init_app();\r\n");
    EXPECT_EQ(
        readFile("zelta.h"),
        "#include \"zeltaobjs.h\"\n#include \"zeltautil.h\"\n#include \"zeltaobjs2.h\"\n#include \"zeltamisc.h\"\n"
        "#include \"zeltadate.h\"\n#include \"zeltaarray.h\"\n#include \"zeltastring.h\"\n"
        "#include \"zeltadbbrowse.h\"\n#include \"zeltaeval.h\"\n#include \"zeltardd.h\"\n"
        "#include \"zeltanet.h\"\n#include \"zeltarpc.h\"\n#define _T(x) x\n#define __FULL_WIN_DEBUG__ x\n"
        "#include \"app.hpp\"\n");
}

TEST_F(WriterTest, ContextFilesHoldFourHundredConstantsEach)
{
    struct Case {
        int constants, files, lastFileEntries;
    };
    for (Case c : {Case{1, 1, 1}, Case{400, 1, 400}, Case{401, 2, 1}, Case{801, 3, 1}}) {
        SCOPED_TRACE(c.constants);
        tProgram fresh;
        fresh.autoPublicPauseMs = 0;
        fresh.activate();
        tProgramWriter w(fresh);
        fresh.options.target = tTarget::GCCDEBUG;
        fresh.options.moduleName = "APP";
        fresh.beginSource();
        fresh.openFunction("MAIN", false);
        for (int i = 0; i < c.constants; ++i)
            fresh.constNumber(i);
        ASSERT_TRUE(w.writeSource("app.prg"));
        ASSERT_TRUE(w.writeFirstSource());
        int contexts = 0;
        ASSERT_TRUE(w.writeInitAndContexts(contexts));
        EXPECT_EQ(contexts, c.files);
        char last[16];
        std::snprintf(last, sizeof last, "ctx%03i.cpp", c.files);
        std::string text = readFile(last);
        EXPECT_EQ(count(text, "__const_add_el("), c.lastFileEntries);
        std::string cpp = readFile("app.cpp");
        EXPECT_NE(cpp.find("__const_set_amount(" + std::to_string(c.constants) + ");\r\n"), std::string::npos);
        EXPECT_EQ(count(cpp, "__cxt_init_"), c.files);
        std::remove("ctx001.cpp");
        std::remove("ctx002.cpp");
        std::remove("ctx003.cpp");
    }
    program.activate();
}

TEST_F(WriterTest, ConstantEntriesPerKind)
{
    program.options.target = tTarget::GCCDEBUG;
    begin("app.prg", "APP", 1);
    function("MAIN", false, "");
    program.constNumber(1.5);
    program.constLogical(1);
    program.constLogical(0);
    program.constString("50% off");
    ASSERT_TRUE(writer.writeSource("app.prg"));
    int contexts = 0;
    finish(contexts);
    EXPECT_EQ(readFile("ctx001.cpp"),
              "#include \"zelta.h\"\r\nvoid __cxt_init_001()\r\n{\r\n"
              "__const_add_el(__INIT_DOUBLE(1.5)); // 0\n"
              "__const_add_el(__INIT_BOOL(True));// 1\n"
              "__const_add_el(__INIT_BOOL(False));// 2\n"
              "__const_add_el(__INIT_CHARCONST(\"50% off\"));// 3\n"
              "}\r\n");
}

TEST_F(WriterTest, PublicOfSecondSourceIsDefinedInTheFirst)
{
    program.options.target = tTarget::GCCDEBUG;
    begin("a.prg", "A", 1);
    function("MAIN", true, "B();\n");
    program.publics.add(new String("FIRST"));
    ASSERT_TRUE(writer.writeSource("a.prg"));
    begin("b.prg", "B", 2);
    function("B", true, "");
    program.publics.add(new String("X"));
    ASSERT_TRUE(writer.writeSource("b.prg"));
    int contexts = 0;
    finish(contexts);

    std::string a = readFile("a.cpp");
    std::string b = readFile("b.cpp");
    EXPECT_NE(a.find("pObj_Node _tmp_=NULL;\npObj_Node FIRST=NULL;\npObj_Node X=NULL;\n"), std::string::npos);
    EXPECT_EQ(a.find("extern"), std::string::npos);
    EXPECT_NE(b.find("extern pObj_Node _tmp_;\r\nextern pObj_Node FIRST;\r\nextern pObj_Node X;\r\n"),
              std::string::npos);
    // Each public is set to NIL once, by the first source that knew it.
    EXPECT_NE(a.find(" void __init_a()\n{\nFIRST=__SET_OBJECT(FIRST,__INIT_NIL());\n}\n"), std::string::npos);
    EXPECT_NE(b.find(" void __init_b()\r\n{\r\nX=__SET_OBJECT(X,__INIT_NIL());\r\n}\r\n"), std::string::npos);
    EXPECT_EQ(b.find("WinMain"), std::string::npos);
    EXPECT_NE(a.find("__init_a();\n\r\n__init_b();\n\r\n"), std::string::npos);
    EXPECT_NE(readFile("zelta.h").find("#include \"a.hpp\"\n#include \"b.hpp\"\n"), std::string::npos);
}

TEST_F(WriterTest, EntryPointPerTarget)
{
    struct Case {
        tTarget target;
        const char* expected;
    };
    const Case cases[] = {
        {tTarget::WIN32DLL,
         "BOOL APIENTRY DllMain( HANDLE hModule, DWORD  ul_reason_for_call, LPVOID lpReserved)\n"
         "{\n\t__SetBackWindow(False);\n\tSetCheckBuffer(True);\n\n\tswitch"},
        {tTarget::PALMOS,
         "    {\n      __begin_context();\n      __initStatics();\n__SetCrtID(\"ABCD\");\n"
         "if(!MathLibRef)\n{\n\tAlert2(\"MathLib not found!\");\n"
         "\t__DoSync(NULL,NULL,NULL,NULL,NULL,NULL,NULL);\n}\nelse\n{\n      MAIN();\n}\n"},
        {tTarget::POCKETPC,
         "   RegisterInstance(hInstance);\n  if(__BeginGlobal())\n  {\n      __begin_context();\n"
         "    __initStatics();\n      MAIN();\n      __end_context(NULL);\n    __EndGlobal();\n"},
        {tTarget::GCCDEBUG,
         "int WINAPI WinMain(\tHINSTANCE hInstance,HINSTANCE hPrevInstance,LPTSTR lpCmdLine,"
         "int nCmdShow)\n{\n#ifdef _WINEMUL_\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.target));
        tProgram fresh;
        fresh.activate();
        tProgramWriter w(fresh);
        fresh.options.target = c.target;
        fresh.options.moduleName = "APP";
        fresh.options.creatorId = "abcd";
        fresh.beginSource();
        fresh.openFunction("MAIN", true);
        ASSERT_TRUE(w.writeSource("app.prg"));
        ASSERT_TRUE(w.writeFirstSource());
        EXPECT_NE(readFile("app.cpp").find(c.expected), std::string::npos) << readFile("app.cpp");
        EXPECT_TRUE(w.entryWritten());
    }
    program.activate();
}

TEST_F(WriterTest, MissingMainLeavesTheEntryPointIncomplete)
{
    program.options.target = tTarget::WIN32EXE;
    begin("app.prg", "APP", 1);
    function("HELPER", false, "");
    ASSERT_TRUE(writer.writeSource("app.prg"));
    ASSERT_TRUE(writer.writeFirstSource());
    std::string cpp = readFile("app.cpp");
    EXPECT_NE(cpp.find("    __initStatics();\nFALTA ENTRY POINT;\npObj_Node HELPER()"), std::string::npos) << cpp;
    EXPECT_FALSE(writer.entryWritten());
}

TEST_F(WriterTest, PalmPrototypesCarrySections)
{
    program.options.target = tTarget::PALMOS;
    begin("app.prg", "APP", 1);
    function("MAIN", false, "");
    program.openValidFunction(nullptr);
    program.options.validBase = 4;
    program.currentFunction = program.functions[0];
    writer.writeSource("app.prg");
    EXPECT_EQ(readFile("app.hpp"),
              "pObj_Node MAIN() __attribute__ ((section (\"usr_001\")));\r\n"
              " void __init_app() __attribute__ ((section (\"usr_001\")));\r\n"
              "pObj_Node vld_005(pObj_Node winid, pObj_Node newobj, pObj_Node value) "
              "__attribute__ ((section (\"usr_001\"))) ;\n");
}

TEST_F(WriterTest, CodeBlockWithParametersReadsThem)
{
    program.options.target = tTarget::GCCDEBUG;
    begin("app.prg", "APP", 1);
    function("MAIN", false, "");
    tInstruction* expression = new tIdentifier(new tIdentName("x"));
    tInstruction* params = new tIdentName("x");
    tValidFunction* block = program.openValidFunction(expression);
    block->paramNode = params;
    block->blockKind = 2;
    std::unique_ptr<tInstruction> nil(new tNil());
    program.openValidFunction(nil.get());
    ASSERT_TRUE(writer.writeSource("app.prg"));
    writer.writeFirstSource();
    std::string cpp = readFile("app.cpp");
    EXPECT_NE(cpp.find("pObj_Node vld_001(pObj_Node winid, pObj_Node newobj, pObj_Node value)\n{\n"
                       "pObj_Node X=NULL;\npObj_Node endP = __INIT_NUL();\n"
                       " __GetValidFuncParam(winid,newobj,__const_get_el(0),&X,&endP);\n"
                       "__SL(0);return X;\n}\n"),
              std::string::npos)
        << cpp;
    EXPECT_NE(cpp.find("pObj_Node vld_002(pObj_Node winid, pObj_Node newobj, pObj_Node value)\n{\n"
                       "__SL(0);return __INIT_NIL();\n}\n"),
              std::string::npos);
    delete expression;
    delete params;
}

TEST_F(WriterTest, LibraryModeOneWritesTheDefinitionFile)
{
    program.options.target = tTarget::GCCDEBUG;
    program.options.libraryMode = codegen::kLibraryGenerate;
    writer.definitionPath = "lib.dat";
    begin("lib.prg", "LIB", 1);
    function("U_CALC", false, "");
    program.publics.add(new String("TOTAL"));
    program.constString("k");
    std::unique_ptr<tInstruction> nil(new tNil());
    program.openValidFunction(nil.get());
    ASSERT_TRUE(writer.writeSource("lib.prg"));
    int contexts = 0;
    finish(contexts);
    EXPECT_EQ(readFile("lib.dat"),
              "MAIN_FUNC=U_CALC\r\nIMPORT_FUNCDEF=pObj_Node U_CALC();\r\nPUBLIC=TOTAL\r\n"
              "CONST_AMNT=1\r\nCTX_AMNT=1\r\nCTX_SECTION=1\r\nNUM_VALIDS=1\r\n");
    std::string cpp = readFile("lib.cpp");
    EXPECT_EQ(cpp.find("WinMain"), std::string::npos);
    EXPECT_EQ(cpp.find("__const_set_amount"), std::string::npos);
    // The pool is loaded before static initialisers read it.
    EXPECT_NE(cpp.find("__cxt_init_001();\r\n__init_lib();\n\r\n}"), std::string::npos);
}

TEST_F(WriterTest, LibraryModeTwoImportsAndRegistersUserFunctions)
{
    program.options.target = tTarget::GCCDEBUG;
    program.options.libraryMode = codegen::kLibraryImport;
    program.options.importName = "LIB";
    program.options.headerName = "zeltape.h";
    program.options.constantBase = 10;
    program.options.contextBase = 1;
    program.importedPublics.add(new String("TOTAL"));
    program.importedFunctionDefs.add(new String("pObj_Node U_OLD();"));
    begin("app.prg", "APP", 2);
    function("U_CALC", false, "");
    function("DONE", true, "");
    program.constNumber(7);
    ASSERT_TRUE(writer.writeSource("app.prg"));
    int contexts = 0;
    finish(contexts);
    std::string cpp = readFile("app.cpp");
    EXPECT_NE(cpp.find("#include \"zeltape.h\"\r\nvoid __initPE();\r\nvoid __initStatics();\r\n"), std::string::npos);
    EXPECT_NE(cpp.find("extern pObj_Node TOTAL;\r\n"), std::string::npos);
    EXPECT_NE(cpp.find("pObj_Node LIB();\r\n"), std::string::npos);
    EXPECT_NE(cpp.find("__const_set_amount(11);\r\n    __initStatics();\r\n__initPE();\r\n      LIB();"),
              std::string::npos);
    EXPECT_NE(cpp.find("void __initPE()\r\n{\r\nRegisterBlock(\"CALC\",(void*)U_CALC);\r\n"), std::string::npos);
    EXPECT_NE(cpp.find("__cxt_init_002();\r\n__init_app();\n\r\n}"), std::string::npos);
    EXPECT_EQ(cpp.find("__begin_context();\n__LockStack"), std::string::npos);
    // A procedure returns nothing, also where functions return NIL.
    EXPECT_NE(cpp.find("void DONE()\r\n{\r\n__LockStack(__INIT_NUL());\nreturn;\n}\r\n"), std::string::npos) << cpp;
    EXPECT_NE(readFile("app.hpp").find("pObj_Node U_OLD();\r\n"), std::string::npos);
    EXPECT_NE(readFile("ctx002.cpp").find("__INIT_DOUBLE(7)); // 10\n"), std::string::npos);
}

TEST_F(WriterTest, TopLevelStatementsFormTheSourcesProcedure)
{
    struct Case {
        const char* name;
        bool topLevel;
        const char* function;  // a FUNCTION after the statements, or null
        const char* main;      // expected main function
        int functions;
    };
    const Case cases[] = {
        {"statements only", true, nullptr, "APP", 1},
        {"statements then MAIN", true, "MAIN", "MAIN", 2},
        {"statements then helper", true, "HELPER", "APP", 2},
        {"no statements", false, "HELPER", "", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tProgram fresh;
        fresh.autoPublicPauseMs = 0;
        fresh.activate();
        tProgramWriter w(fresh);
        fresh.options.moduleName = "APP";
        fresh.beginSource();
        tInstruction* list = nullptr;
        if (c.topLevel)
            list = new tStatList(new tSourceLine(new tFunctionCall(new tIdentName("qout"), nullptr)));
        if (c.function) {
            tInstruction* head = new tFunction(new tIdentName(c.function), new tParmDef(), nullptr, 0);
            list = list ? new tStatList(list, head) : new tStatList(head);
        }
        tMain root(list);
        ASSERT_TRUE(w.generateTree(root));
        EXPECT_STREQ(fresh.mainFunction.text(), c.main);
        ASSERT_EQ(fresh.functions.count(), c.functions);
        if (c.topLevel) {
            EXPECT_STREQ(fresh.functions[0]->name.text(), "APP");
            EXPECT_TRUE(fresh.functions[0]->procedure);
        }
        EXPECT_EQ(fresh.errorCount(), 0);
    }
    program.activate();
}

TEST_F(WriterTest, TopLevelStatementsClashWithTheSourcesOwnFunction)
{
    program.options.moduleName = "APP";
    program.beginSource();
    tMain root(new tStatList(new tStatList(new tSourceLine(new tFunctionCall(new tIdentName("qout"), nullptr))),
                             new tFunction(new tIdentName("app"), new tParmDef(), nullptr, 0)));
    EXPECT_FALSE(writer.generateTree(root));
}

TEST(CStringBody, EveryConstantCompiles)
{
    struct Case {
        const char* text;
        const char* body;
    };
    const Case cases[] = {
        {"", ""},
        {"plain", "plain"},
        {"say \"hi\"", "say \\\"hi\\\""},
        {"a\\nb", "a\\nb"},          // C escapes keep their meaning
        {"C:\\", "C:\\\\"},          // a trailing backslash would swallow the quote
        {"a\\\"b", "a\\\"b"},        // already escaped
        {"a\\\\\"b", "a\\\\\\\"b"},  // escaped backslash, then a bare quote
        {"50%", "50%"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cStringBody(c.text), c.body) << c.text;
}

TEST(PathPieces, SplitAsTheWritersNeed)
{
    EXPECT_EQ(pathStem("dir/app.prg"), "dir/app");
    EXPECT_EQ(pathFileName("dir/app.prg"), "app");
    EXPECT_EQ(pathDirectory("dir/app.prg"), "dir/");
    EXPECT_EQ(pathDirectory("app.prg"), "");
    EXPECT_EQ(pathStem("my.dir/app"), "my.dir/app");
    EXPECT_EQ(pathFileName("app"), "app");
}

}  // namespace
