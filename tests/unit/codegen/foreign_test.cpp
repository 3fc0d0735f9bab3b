// Foreign calls and exports: what is read from the captured arguments, the
// conversions chosen by type name, the statements refused with their reason,
// and the module definition file. The whole texts are in the goldens
// (tests/codegen/foreign_call, exports, exec_in_client).
#include "codegen_support.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "ast/foreign.h"

using namespace cgtest;

namespace {

// CALLDLL or EXPFUNCT over constants and names, as the grammar builds it.
std::vector<tInstruction*> items(std::initializer_list<const char*> texts)
{
    std::vector<tInstruction*> list;
    for (const char* t : texts)
        list.push_back(t[0] == '$' ? name(t + 1) : str(t));
    return list;
}

tInstruction* argList(const std::vector<tInstruction*>& list)
{
    tInstruction* a = nullptr;
    for (tInstruction* item : list)
        a = a ? new tParmList(a, item) : new tParmList(item);
    return a;
}

class ForeignTest : public CodegenTest {
protected:
    void SetUp() override
    {
        CodegenTest::SetUp();
        char pattern[] = "/tmp/zelta-foreign-XXXXXX";
        dir_ = mkdtemp(pattern);
        old_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
        program.currentFunction->addParam("A");
        program.currentFunction->addParam("B");
    }
    void TearDown() override
    {
        std::filesystem::current_path(old_);
        std::filesystem::remove_all(dir_);
    }

    // The body text, and the messages printed while generating it.
    std::string generate(tInstruction* node, std::string* printed = nullptr)
    {
        testing::internal::CaptureStdout();
        std::string body = text(node);
        std::string out = testing::internal::GetCapturedStdout();
        if (printed)
            *printed = out;
        return body;
    }

    std::string dllCall(std::initializer_list<const char*> texts, std::string* printed = nullptr)
    {
        return generate(new tDllCall(argList(items(texts))), printed);
    }
    std::string exportOf(std::initializer_list<const char*> texts, std::string* printed = nullptr)
    {
        return generate(new tExpFunct(argList(items(texts))), printed);
    }

    static std::string readFile(const char* path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::filesystem::path dir_, old_;
};

bool has(const std::string& text, const std::string& piece) { return text.find(piece) != std::string::npos; }

TEST_F(ForeignTest, ConversionsFollowTheTypeNames)
{
    const struct {
        const char* type;
        const char* in;
        const char* argument;
        const char* out;  // "" for none
    } cases[] = {
        {"INTEGER", "long LA=(long)__GET_DOUBLE(A);", "_f(LA)", ""},
        {"pdword", "long LA=(long)__GET_DOUBLE(A);", "_f(&LA)", "__SET_OBJECT(A,__INIT_DOUBLE((double)LA));"},
        {"WORD", "short SA=(short)__GET_DOUBLE(A);", "_f(SA)", ""},
        {"PSMALLINT", "short SA=(short)__GET_DOUBLE(A);", "_f(&SA)", "__SET_OBJECT(A,__INIT_DOUBLE((double)SA));"},
        {"ULONG", "unsigned long UA=", "_f(UA)", ""},
        {"PUINT", "unsigned long UA=", "_f(&UA)", "__SET_OBJECT(A,__INIT_DOUBLE((double)UA));"},
        {"Double", "double DA=__GET_DOUBLE(A);", "_f(DA)", ""},
        {"PDOUBLE", "double DA=__GET_DOUBLE(A);", "_f(&DA)", "__SET_OBJECT(A,__INIT_DOUBLE(DA));"},
        {"POINTER", "void* PA=__GET_PTR(A);", "_f(PA)", "__SET_OBJECT(A,__INIT_VOIDPTR(PA));"},
        {"BOOLEAN", "Boolean BA=(Boolean)__GET_BOOL(A);", "_f(BA)", ""},
        {"PCHAR", "char* SA=(char*)xmalloc(RA);", "_f(SA)", "__SET_OBJECT(A,__INIT_CHARPTR(SA));"},
        {"STATICPCHAR", "SA=(char*)ForeignStaticBuffer((void**)&SA,RA);", "_f(SA)",
         "__SET_OBJECT(A,__INIT_CHARPTR(aux));"},
        {"BYTE", "char* SA=(char*)xmalloc(RA);", "_f(*SA)", "*(SA+1)=0x00;"},
    };
    for (const auto& c : cases) {
        std::string body = dllCall({"lib.dll", "f", "VOID", c.type, "$A", "C"});
        EXPECT_TRUE(has(body, c.in)) << c.type << "\n" << body;
        EXPECT_TRUE(has(body, c.argument)) << c.type;
        if (*c.out)
            EXPECT_TRUE(has(body, c.out)) << c.type;
        else
            EXPECT_FALSE(has(body, "__SET_OBJECT(A,")) << c.type;
    }
    EXPECT_EQ(program.errorCount(), 0);
}

TEST_F(ForeignTest, ReturnValuesByTypeName)
{
    const struct {
        const char* type;
        const char* declared;  // "" when nothing is returned
        const char* result;
    } cases[] = {
        {"INTEGER", "long ret;", "__INIT_DOUBLE(ret)"},
        {"LONG", "long ret;", "__INIT_DOUBLE((double)ret)"},
        {"ULONG", "unsigned long ret;", "__INIT_DOUBLE((double)ret)"},
        {"DOUBLE", "double ret;", "__INIT_DOUBLE(ret)"},
        {"PCHAR", "char * ret;", "__INIT_CHARPTR(ret)"},
        {"BYTE", "char  ret;", "__INIT_CHARPTR(retText)"},
        {"POINTER", "void * ret;", "__INIT_VOIDPTR(ret)"},
        {"BOOLEAN", "Boolean ret;", "__INIT_BOOL(ret)"},
        {"SHORT", "short ret;", "__INIT_NIL()"},  // no initialiser for these
        {"DWORD", "long ret;", "__INIT_NIL()"},
        {"NOTHING", "", ""},
    };
    for (const auto& c : cases) {
        std::string body = dllCall({"lib.dll", "f", c.type, "C"});
        if (*c.declared) {
            EXPECT_TRUE(has(body, std::string(c.declared) + "\n")) << c.type << "\n" << body;
            EXPECT_TRUE(has(body, "ret = _f();")) << c.type;
            EXPECT_TRUE(has(body, std::string("ret_obj = __SET_OBJECT(ret_obj,") + c.result + ");")) << c.type;
        } else {
            EXPECT_TRUE(has(body, "void (  *_f)()=NULL;")) << body;
            EXPECT_TRUE(has(body, "{\n_f();\n}\n\nreturn __end_context(ret_obj)")) << body;
        }
    }
}

TEST_F(ForeignTest, WrapperReturnsOnceAndAProcedureReturnsNoValue)
{
    std::string body = dllCall({"lib.dll", "f", "INTEGER", "pascal"});
    EXPECT_TRUE(has(body, "long (   PASCAL   *_f)()=NULL;\n_f=(long ( PASCAL *) ()) GetProcAddress(nHdl,_T(\"f\"));"))
        << body;
    EXPECT_TRUE(program.currentFunction->suppressReturn);
    EXPECT_TRUE(program.currentFunction->endedWithReturn);
    program.openFunction("P", true);
    EXPECT_TRUE(has(dllCall({"lib.dll", "f", "VOID", "C"}), "\n__end_context(ret_obj);return"));
}

TEST_F(ForeignTest, NamesAreCapturedAsWrittenAndTextsStayLiteral)
{
    // A percent sign in a name must survive the pieces' printf formatting,
    // and a quote must not end the C literal.
    std::string body = dllCall({"50%\".dll", "f", "VOID", "C"});
    EXPECT_TRUE(has(body, "nHdlGetDllHandle(\"50%%\\\".dll\")")) << body;
    EXPECT_TRUE(has(body, "not found in DLL <50%%\\\".dll>!")) << body;
    // Names as written, numbers as whole numbers, logicals as 0 or 1.
    generate(new tDllCall(argList({str("lib.dll"), name("Fn"), num("2.7"), logical(".T."), name("A"), str("C")})));
    std::vector<std::string> captured;
    for (int i = 0; i < program.capturedArgs.count(); ++i)
        captured.push_back(program.capturedArgs[i]->text());
    EXPECT_EQ(captured, (std::vector<std::string>{"lib.dll", "Fn", "2", "1", "A", "C"}));
}

TEST_F(ForeignTest, RefusedStatementsSayWhy)
{
    const struct {
        std::vector<const char*> texts;
        bool isExport;
        const char* reason;
    } cases[] = {
        {{"lib.dll", "f", "INTEGER"}, false, "CALLDLL takes a library, a function, a return type"},
        {{"lib.dll", "f", "INTEGER", "LONG", "$A", "LONG", "C"}, false, "CALLDLL takes a library"},
        {{"lib.dll", "f", "INTEGER", "NUMBER", "$A", "C"}, false, "CALLDLL: NUMBER is no type name"},
        {{"lib.dll", "f", "INTEGER", "LONG", "$a", "C"},
         false,
         "CALLDLL: a is no parameter or LOCAL of F (its C name is upper-case)"},
        {{"Name", "INTEGER"}, true, "EXPFUNCT takes a name, a return type"},
        {{"Name", "INTEGER", "LONG", "x", "LONG", "y", "LONG", "z", "0"},
         true,
         "EXPFUNCT: F takes fewer parameters than Name"},
        {{"Name", "PLONG", "0"}, true, "EXPFUNCT: an export cannot return PLONG"},
        {{"Name", "INTEGER", "CHAR", "x", "0"}, true, "EXPFUNCT: CHAR is no type name"},
        {{"ExecInClientDLL", "INTEGER", "LONG", "x", "0"}, true, "EXPFUNCT ExecInClientDLL takes four"},
    };
    int errors = 0;
    for (const auto& c : cases) {
        std::vector<tInstruction*> list;
        for (const char* t : c.texts)
            list.push_back(t[0] == '$' ? name(t + 1) : str(t));
        tInstruction* node = c.isExport ? static_cast<tInstruction*>(new tExpFunct(argList(list)))
                                        : static_cast<tInstruction*>(new tDllCall(argList(list)));
        std::string printed;
        EXPECT_EQ(generate(node, &printed), "") << c.reason;
        EXPECT_TRUE(has(printed, std::string("testmod.prg(0): Error: ") + c.reason)) << printed;
        EXPECT_EQ(program.errorCount(), ++errors);
    }
    EXPECT_TRUE(program.foreignBodies.empty());
    EXPECT_FALSE(std::filesystem::exists("testmod.def"));
}

TEST_F(ForeignTest, ModuleDefinitionIsBegunOncePerRun)
{
    std::ofstream("testmod.def") << "LIBRARY \"stale\"\nEXPORTS Old\n";  // left by an earlier build
    exportOf({"First", "INTEGER", "LONG", "x", "0"});
    exportOf({"Second", "VOID", "0"});
    EXPECT_EQ(readFile("testmod.def"), "LIBRARY      \"testmod\"\nHEAPSIZE 5120\nEXPORTS  First\n  Second\n  ");
    EXPECT_EQ(program.moduleDefinitions, std::vector<std::string>{"testmod.def"});
    ASSERT_EQ(program.foreignDeclarations.count(), 2);
    EXPECT_STREQ(program.foreignDeclarations[0]->text(), "long WINAPI  First(long);\n");
    EXPECT_STREQ(program.foreignDeclarations[1]->text(), "void WINAPI  Second();\n");
}

TEST_F(ForeignTest, ExitHandlerOncePerSource)
{
    exportOf({"First", "INTEGER", "0"});
    exportOf({"Second", "INTEGER", "0"});
    auto handlers = [&] {
        int n = 0;
        for (int i = 0; i < program.foreignBodies.count(); ++i)
            n += has(program.foreignBodies[i]->text(), "static pObj_Node __ExitErro(void){ throw \"Error\";}");
        return n;
    };
    EXPECT_EQ(handlers(), 1);
    tMain next(nullptr);  // the next source starts its own lists
    next.generate();
    EXPECT_TRUE(program.foreignBodies.empty());
    exportOf({"Third", "INTEGER", "0"});
    EXPECT_EQ(handlers(), 1);
}

TEST_F(ForeignTest, ExportValuesAndResults)
{
    exportOf({"Both", "PCHAR", "PCHAR", "s", "PDOUBLE", "d", "0"});
    ASSERT_EQ(program.foreignBodies.count(), 1);
    std::string body = program.foreignBodies[0]->text();
    for (const char* piece : {
             "char * WINAPI  Both(char * s,double* d)\n",
             "pObj_Node s_obj = __SET_OBJECT(NULL,__INIT_CHARPTR(s ? s : \"\"));",
             "pObj_Node d_obj = __SET_OBJECT(NULL,__INIT_DOUBLE(d ? (double)*d : 0));",
             "pObj_Node ret_obj = __SET_OBJECT(NULL,F(__ByRef(&s_obj),__ByRef(&d_obj)));",
             "strcmp(s,__GET_STRING(s_obj))!=0",
             "if(d && d_obj->objType==T_DOUBLE) *d = (double)__GET_DOUBLE(d_obj);",
             "char * ret = ExportText(ret_obj);",
             "return NULL;\n}\n return 0;\n}\n",
         })
        EXPECT_TRUE(has(body, piece)) << piece << "\n" << body;
}

}  // namespace
