// The text of foreign calls and exports. Both work from the captured
// argument list: the statement's arguments as plain texts (identifiers as
// written, constants as their text), read by position.
//
//   CALLDLL  L0 library, L1 function, L2 return type, (type, variable)...,
//            last the calling convention: 4 + 2k entries for k parameters
//   EXPFUNCT L0 exported name, L1 return type, (type, parameter)...,
//            last a size (read by ExecInClientDLL only): 3 + 2k entries
//
// A foreign call makes its function a wrapper: it converts the wrapper's
// values into C values of the declared types, calls, and converts the
// result and the by-reference parameters back. Texts (PCHAR, STATICPCHAR,
// BYTE) cross as Base64: the value's text is decoded into a buffer prefilled
// with 0xFF, and what the library leaves in it (up to the first trailing
// 0xFF) is encoded again. An export adds a C function that sets up the
// run-time, builds the function's values from its C parameters, calls it
// and converts its result back.
#include "../ast/foreign.h"

#include "emit.h"
#include "emit_program.h"

#include <cstdio>
#include <string>
#include <vector>

using codegen::program;

namespace {

// The families of type names; each family converts the same way.
enum class tForeign {
    none,
    longValue,        // INTEGER DWORD LONG
    longPointer,      // PINTEGER PDWORD PLONG
    shortValue,       // SHORT WORD SMALLINT
    shortPointer,     // PSHORT PWORD PSMALLINT
    unsignedValue,    // UINT ULONG
    unsignedPointer,  // PUINT PULONG
    doubleValue,      // DOUBLE
    doublePointer,    // PDOUBLE
    text,             // PCHAR
    staticText,       // STATICPCHAR
    byte,             // BYTE
    pointer,          // POINTER
    boolean,          // BOOLEAN
};

struct tTypeName {
    const char* name;
    tForeign family;
    const char* cType;
};

const tTypeName kTypeNames[] = {
    {"INTEGER", tForeign::longValue, "long"},
    {"DWORD", tForeign::longValue, "long"},
    {"LONG", tForeign::longValue, "long"},
    {"PINTEGER", tForeign::longPointer, "long*"},
    {"PDWORD", tForeign::longPointer, "long*"},
    {"PLONG", tForeign::longPointer, "long*"},
    {"SHORT", tForeign::shortValue, "short"},
    {"WORD", tForeign::shortValue, "short"},
    {"SMALLINT", tForeign::shortValue, "short"},
    {"PSHORT", tForeign::shortPointer, "short*"},
    {"PWORD", tForeign::shortPointer, "short*"},
    {"PSMALLINT", tForeign::shortPointer, "short*"},
    {"UINT", tForeign::unsignedValue, "unsigned long"},
    {"ULONG", tForeign::unsignedValue, "unsigned long"},
    {"PUINT", tForeign::unsignedPointer, "unsigned long*"},
    {"PULONG", tForeign::unsignedPointer, "unsigned long*"},
    {"DOUBLE", tForeign::doubleValue, "double"},
    {"PDOUBLE", tForeign::doublePointer, "double*"},
    {"PCHAR", tForeign::text, "char *"},
    {"STATICPCHAR", tForeign::staticText, "char *"},
    {"BYTE", tForeign::byte, "char "},
    {"POINTER", tForeign::pointer, "void *"},
    {"BOOLEAN", tForeign::boolean, "Boolean"},
};

std::string upper(const String* text)
{
    std::string out = text ? text->text() : "";
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

const tTypeName* typeNamed(const String* name)
{
    std::string wanted = upper(name);
    for (const tTypeName& t : kTypeNames)
        if (wanted == t.name)
            return &t;
    return nullptr;
}

tForeign familyOf(const String* name)
{
    const tTypeName* t = typeNamed(name);
    return t ? t->family : tForeign::none;
}

// "" for a name that is no type: such a function returns nothing.
const char* cTypeOf(const String* name)
{
    const tTypeName* t = typeNamed(name);
    return t ? t->cType : "";
}

bool isPointerFamily(tForeign f)
{
    return f == tForeign::longPointer || f == tForeign::shortPointer || f == tForeign::unsignedPointer ||
           f == tForeign::doublePointer;
}

// Pieces reach their file as printf formats: a '%' of the source must stay one.
std::string percentSafe(const std::string& text)
{
    std::string out;
    for (char c : text) {
        out += c;
        if (c == '%')
            out += '%';
    }
    return out;
}

// A source text as the body of a C string literal in a piece.
std::string literal(const String* text) { return percentSafe(cStringBody(text ? text->text() : "")); }

// Replaces every "@" of a template with the variable's name.
std::string fill(const char* tmpl, const std::string& v)
{
    std::string out;
    for (const char* c = tmpl; *c; ++c) {
        if (*c == '@')
            out += v;
        else
            out += *c;
    }
    return out;
}

// The captured texts, taken out of the program's list.
std::vector<const String*> capture(tInstruction* args)
{
    tProgram& p = program();
    freeStrings(p.capturedArgs);
    p.capturing = 1;
    codegen::gen(args);
    p.capturing = 0;
    std::vector<const String*> list;
    for (int i = 0; i < p.capturedArgs.count(); ++i)
        list.push_back(p.capturedArgs[i]);
    return list;
}

void reportShape(unsigned int line, const std::string& what)
{
    program().report(tCodegenMessage::foreign, line, what.c_str());
}

// ---- Foreign calls -------------------------------------------------------

// The conversion of the wrapper's value v into the C variable the call
// passes. Text buffers hold the decoded text and room for what the library
// writes back: the value's buffer, and never less than the decoding needs.
std::string conversionIn(tForeign f, const std::string& v)
{
    const char* textCheck =
        "if(@->objType!=T_CHARPTR) __RuntimeError(ARGUMENT_ERROR,-1);\n"
        "long R@=(long)xstrlen(@->objData.mbuff)+4;\n"
        "if(R@<@->objLength) R@=@->objLength;\n";
    const char* decode =
        "xmemset(S@,0xFF,R@);\n"
        "lenbuf=(long)xstrlen(@->objData.mbuff);\n"
        "Decode64((unsigned char*)@->objData.mbuff,(unsigned char*)S@,&lenbuf);\n";
    switch (f) {
    case tForeign::staticText:
        return fill("static char* S@=NULL;\n", v) + fill(textCheck, v) +
               fill("S@=(char*)ForeignStaticBuffer((void**)&S@,R@);\n", v) + fill(decode, v);
    case tForeign::text:
    case tForeign::byte: return fill(textCheck, v) + fill("char* S@=(char*)xmalloc(R@);\n", v) + fill(decode, v);
    case tForeign::pointer: return fill("void* P@=__GET_PTR(@);\n", v);
    case tForeign::longValue:
    case tForeign::longPointer: return fill("long L@=(long)__GET_DOUBLE(@);\n", v);
    case tForeign::shortValue:
    case tForeign::shortPointer: return fill("short S@=(short)__GET_DOUBLE(@);\n", v);
    case tForeign::unsignedValue:
    case tForeign::unsignedPointer: return fill("unsigned long U@=(unsigned long)(long long)__GET_DOUBLE(@);\n", v);
    case tForeign::doubleValue:
    case tForeign::doublePointer: return fill("double D@=__GET_DOUBLE(@);\n", v);
    case tForeign::boolean: return fill("Boolean B@=(Boolean)__GET_BOOL(@);\n", v);
    case tForeign::none: break;
    }
    return "";
}

std::string argumentOf(tForeign f, const std::string& v)
{
    switch (f) {
    case tForeign::text:
    case tForeign::staticText:
    case tForeign::shortValue: return "S" + v;
    case tForeign::byte: return "*S" + v;
    case tForeign::pointer: return "P" + v;
    case tForeign::longValue: return "L" + v;
    case tForeign::longPointer: return "&L" + v;
    case tForeign::shortPointer: return "&S" + v;
    case tForeign::unsignedValue: return "U" + v;
    case tForeign::unsignedPointer: return "&U" + v;
    case tForeign::doubleValue: return "D" + v;
    case tForeign::doublePointer: return "&D" + v;
    case tForeign::boolean: return "B" + v;
    case tForeign::none: break;
    }
    return v;
}

// Results written back into v go through __SET_OBJECT, so a constant passed
// there stays what it is and a variable passed by reference is written
// through.
std::string conversionOut(tForeign f, const std::string& v)
{
    switch (f) {
    case tForeign::staticText:
        return fill(
            "int32_t N@=(int32_t)R@;\n__SetObjLength(S@, &N@);\n aux = (char*)Encode64((unsigned char*)S@, "
            "(int)N@);;\n__SET_OBJECT(@,__INIT_CHARPTR(aux));\nFreeEncode64((unsigned char*)aux);",
            v);
    case tForeign::text:
        return fill(
            "aux = S@;\nint32_t N@=(int32_t)R@;\n__SetObjLength(S@, &N@);\nS@ = (char*)Encode64((unsigned "
            "char*)S@, (int)N@);\nxfree(aux);\n__SET_OBJECT(@,__INIT_CHARPTR(S@));\nFreeEncode64((unsigned "
            "char*)S@);",
            v);
    case tForeign::byte: return fill("*(S@+1)=0x00;\n__SET_OBJECT(@,__INIT_CHARPTR(S@));\nxfree(S@);", v);
    case tForeign::pointer: return fill("__SET_OBJECT(@,__INIT_VOIDPTR(P@));", v);
    case tForeign::longPointer: return fill("__SET_OBJECT(@,__INIT_DOUBLE((double)L@));", v);
    case tForeign::shortPointer: return fill("__SET_OBJECT(@,__INIT_DOUBLE((double)S@));", v);
    case tForeign::unsignedPointer: return fill("__SET_OBJECT(@,__INIT_DOUBLE((double)U@));", v);
    case tForeign::doublePointer: return fill("__SET_OBJECT(@,__INIT_DOUBLE(D@));", v);
    default: break;
    }
    return "";
}

// The value the wrapper returns, by the return type's name. The types not
// listed (SHORT, DWORD, UINT, the pointers ...) return NIL.
std::string returnValue(const String* type)
{
    std::string name = upper(type);
    if (name == "INTEGER" || name == "DOUBLE")
        return "__INIT_DOUBLE(ret)";
    if (name == "LONG" || name == "ULONG")
        return "__INIT_DOUBLE((double)ret)";
    if (name == "PCHAR" || name == "STATICPCHAR")
        return "__INIT_CHARPTR(ret)";
    if (name == "BYTE")
        return "__INIT_CHARPTR(retText)";
    if (name == "POINTER")
        return "__INIT_VOIDPTR(ret)";
    if (name == "BOOLEAN")
        return "__INIT_BOOL(ret)";
    return "__INIT_NIL()";
}

struct tPair {
    const String* type;
    const String* name;
};

// The (type, name) pairs from position `first`, the last entry excluded.
std::vector<tPair> pairsOf(const std::vector<const String*>& list, std::size_t first)
{
    std::vector<tPair> pairs;
    for (std::size_t i = first; i + 1 < list.size(); i += 2)
        pairs.push_back({list[i], list[i + 1]});
    return pairs;
}

// False, with the problem reported, when a pair names no known type or the
// name is not one the function's C code knows.
bool checkPairs(const std::vector<tPair>& pairs, const char* statement, unsigned int line,
                const tFunctionDefinition* wrapper)
{
    bool ok = true;
    for (const tPair& pair : pairs) {
        if (!typeNamed(pair.type)) {
            reportShape(line, std::string(statement) + ": " + pair.type->text() + " is no type name");
            ok = false;
        }
        const char* name = pair.name->text();
        if (wrapper && !wrapper->isParam(name) && !wrapper->isLocal(name)) {
            reportShape(line, std::string(statement) + ": " + name + " is no parameter or LOCAL of " +
                                  wrapper->name.text() + " (its C name is upper-case)");
            ok = false;
        }
    }
    return ok;
}

// ---- Exports -------------------------------------------------------------

// The value an export passes to the function for its C parameter p.
std::string valueOf(tForeign f, const std::string& p)
{
    switch (f) {
    case tForeign::longValue:
    case tForeign::shortValue:
    case tForeign::unsignedValue:
    case tForeign::doubleValue: return "__INIT_DOUBLE((double)" + p + ")";
    case tForeign::longPointer:
    case tForeign::shortPointer:
    case tForeign::unsignedPointer:
    case tForeign::doublePointer: return "__INIT_DOUBLE(" + p + " ? (double)*" + p + " : 0)";
    case tForeign::text:
    case tForeign::staticText: return "__INIT_CHARPTR(" + p + " ? " + p + " : \"\")";
    case tForeign::byte: return "__INIT_CHARPTR(" + p + "_chr)";
    case tForeign::pointer: return "__INIT_VOIDPTR(" + p + ")";
    case tForeign::boolean: return "__INIT_BOOL(" + p + ")";
    case tForeign::none: break;
    }
    return "__INIT_NIL()";
}

// The export's C result of the function's value x, by the type's name.
std::string resultOf(const String* type, const std::string& x)
{
    std::string name = upper(type);
    tForeign f = familyOf(type);
    if (name == "INTEGER")
        return "(int)__GET_DOUBLE(" + x + ")";
    if (name == "UINT")
        return "(unsigned int)(long long)__GET_DOUBLE(" + x + ")";
    if (name == "ULONG")
        return "(unsigned long)(long long)__GET_DOUBLE(" + x + ")";
    if (name == "DOUBLE")
        return "__GET_DOUBLE(" + x + ")";
    if (name == "LONG" || name == "DWORD")
        return "(long)__GET_DOUBLE(" + x + ")";
    if (f == tForeign::shortValue)
        return "(short)__GET_DOUBLE(" + x + ")";
    // A copy: the run-time's own text is gone once the call has ended.
    if (f == tForeign::text || f == tForeign::staticText)
        return "ExportText(" + x + ")";
    if (f == tForeign::byte)
        return "(" + x + "->objType==T_CHARPTR && __GET_STRING(" + x + ") ? __GET_STRING(" + x + ")[0] : 0)";
    if (f == tForeign::pointer)
        return "(void *)__GET_PTR(" + x + ")";
    if (f == tForeign::boolean)
        return "(Boolean)__GET_BOOL(" + x + ")";
    return "";
}

// The module definition file of the source's module: begun afresh by the
// first export of the run, then each export adds its name.
void addToDefinitionFile(const String* exportName)
{
    tProgram& p = program();
    std::string module = p.options.moduleName;
    for (char& c : module)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    std::string path = module + ".def";
    bool begun = false;
    for (const std::string& d : p.moduleDefinitions)
        begun = begun || d == path;
    std::FILE* file = std::fopen(path.c_str(), begun ? "ab" : "wb");
    if (!file)
        return;
    if (!begun) {
        std::fprintf(file, "LIBRARY      \"%s\"\nHEAPSIZE 5120\nEXPORTS  ", module.c_str());
        p.moduleDefinitions.push_back(path);
    }
    std::fprintf(file, "%s\n  ", exportName->text());
    std::fclose(file);
}

}  // namespace

void tDllCall::generate()
{
    tProgram& p = program();
    if (!p.needFunction())
        return;
    tFunctionDefinition* f = p.currentFunction;
    std::vector<const String*> L = capture(operand());
    const std::size_t n = L.size();
    if (n < 4 || n % 2 != 0) {
        reportShape(sourceLine(),
                    "CALLDLL takes a library, a function, a return type, (type, variable) pairs and "
                    "a calling convention");
        return;
    }
    std::vector<tPair> pairs = pairsOf(L, 3);
    if (!checkPairs(pairs, "CALLDLL", sourceLine(), f))
        return;
    const std::string function = percentSafe(L[1]->text());
    const bool hasReturn = *cTypeOf(L[2]) != 0;
    const std::string T = hasReturn ? cTypeOf(L[2]) : "void";
    const bool pascal = upper(L[n - 1]) == "PASCAL";
    std::string types;
    for (std::size_t i = 0; i < pairs.size(); ++i)
        types += std::string(i ? "," : "") + cTypeOf(pairs[i].type);

    std::string text =
        "pObj_Node ret_obj = NULL;\nret_obj = __SET_OBJECT(ret_obj,__INIT_NIL());\nchar* aux=NULL;\n"
        "long  lenbuf=0;\nHMODULE nHdl = nHdlGetDllHandle(\"" +
        literal(L[0]) + "\");\n";
    if (hasReturn)
        text += T + " ret;\n";
    text += T + " ( " + (pascal ? "  PASCAL  " : "") + " *_" + function + ")(" + types + ")=NULL;\n_" + function +
            "=(" + T + (pascal ? " ( PASCAL *) (" : " (*)(") + types + ")) GetProcAddress(nHdl,_T(\"" + literal(L[1]) +
            "\"));\n";
    text += "if(!_" + function + ")\n{\nchar xmsg[1024];\nxstrcpy(xmsg,\"Function <" + literal(L[1]) +
            "> not found in DLL <" + literal(L[0]) +
            ">!\");\nAlert2(xmsg);\n __RuntimeError(FUNCTION_NOT_FOUND_IN_DLL,134);\n}\n";
    text += "{\n";
    for (const tPair& pair : pairs)
        text += conversionIn(familyOf(pair.type), pair.name->text());
    if (hasReturn)
        text += "ret = ";
    text += "_" + function + "(";
    for (std::size_t i = 0; i < pairs.size(); ++i)
        text += (i ? "," : "") + argumentOf(familyOf(pairs[i].type), pairs[i].name->text());
    text += ");\n";
    for (const tPair& pair : pairs) {
        std::string out = conversionOut(familyOf(pair.type), pair.name->text());
        if (!out.empty())
            text += out + "\n";
    }
    text += "}\n";
    if (hasReturn) {
        // A single character comes back as a one-character text.
        if (upper(L[2]) == "BYTE")
            text += "char retText[2]={ret,0};\n";
        text += "ret_obj = __SET_OBJECT(ret_obj," + returnValue(L[2]) + ");";
    }
    // A procedure's wrapper ends its context and returns no value.
    text += f->procedure ? "\n__end_context(ret_obj);return" : "\nreturn __end_context(ret_obj)";
    p.append(text.c_str());
    // The wrapper has returned: a later RETURN writes nothing, and no
    // default epilogue follows.
    f->suppressReturn = 1;
    f->endedWithReturn = 1;
}

void tExpFunct::generate()
{
    tProgram& p = program();
    if (!p.needFunction())
        return;
    tFunctionDefinition* f = p.currentFunction;
    std::vector<const String*> L = capture(operand());
    const std::size_t n = L.size();
    if (n < 3 || n % 2 != 1) {
        reportShape(sourceLine(), "EXPFUNCT takes a name, a return type, (type, parameter) pairs and a size");
        return;
    }
    const bool special = L[0]->equalsIgnoreCase("ExecInClientDLL");
    if (special && n < 11) {
        reportShape(sourceLine(), "EXPFUNCT ExecInClientDLL takes four (type, parameter) pairs and a size");
        return;
    }
    std::vector<tPair> pairs = pairsOf(L, 2);
    if (!checkPairs(pairs, "EXPFUNCT", sourceLine(), nullptr))
        return;
    if (isPointerFamily(familyOf(L[1]))) {
        reportShape(sourceLine(), std::string("EXPFUNCT: an export cannot return ") + L[1]->text());
        return;
    }
    if (!special && static_cast<int>(pairs.size()) > f->paramNames.count()) {
        reportShape(sourceLine(), std::string("EXPFUNCT: ") + f->name.text() + " takes fewer parameters than " +
                                      L[0]->text() + " passes");
        return;
    }
    addToDefinitionFile(L[0]);

    const std::string name = L[0]->text();
    const std::string result = resultOf(L[1], "ret_obj");
    const bool returns = !result.empty();
    const std::string T = returns ? cTypeOf(L[1]) : "void";
    const bool pointerResult = returns && (T == "char *" || T == "void *");
    std::string ctypes, params;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        ctypes += std::string(i ? "," : "") + cTypeOf(pairs[i].type);
        params += std::string(i ? "," : "") + cTypeOf(pairs[i].type) + " " + pairs[i].name->text();
    }
    p.foreignDeclarations.add(new String((T + " WINAPI  " + name + "(" + ctypes + ");\n").c_str()));

    std::string body;
    // One definition per source; static, so that two sources' do not clash.
    if (!p.exitHandlerWritten) {
        body += "static pObj_Node __ExitErro(void){ throw \"Error\";}\n";
        p.exitHandlerWritten = 1;
    }
    body +=
        T + " WINAPI  " + name + "(" + params + ")\n{\ntry{\n__BeginGlobal();\n__begin_context();\n__initStatics();\n";
    if (p.options.libraryMode == codegen::kLibraryGenerate)
        body += "__initPE();\n";
    std::string call;
    if (special) {
        const std::string P3 = L[3]->text(), P5 = L[5]->text(), P7 = L[7]->text(), P9 = L[9]->text();
        body += "char msg[256];\n";
        body += "pObj_Node " + P3 + "_obj = __SET_OBJECT(NULL,__INIT_DOUBLE(" + P3 + "));\n";
        body += "int aParamSz = (int)xstrlen(" + P5 + ");\n";
        body += "sprintf(msg, \"aParams -> %%p - aParamSz=%%d \", (void*)" + P5 + ", aParamSz);\n";
        body += "__WriteMsgLog(msg);\n";
        body += "pObj_Node aParamAux = __ALLOC_CHARPTR(aParamSz + 128);\n xmemcpy(aParamAux->objData.mbuff," + P5 +
                ", aParamSz);\n";
        body += "pObj_Node " + P5 + "_obj = __SET_OBJECT(NULL, aParamAux);\n";
        body += "pObj_Node " + P7 + "_obj = __SET_OBJECT(NULL,__INIT_CHARPTR(\"\"));\n";
        body += "pObj_Node " + P9 + "_obj = __SET_OBJECT(NULL,__INIT_DOUBLE(" + P9 + "));\n";
        body += "__RegisterExit(__ExitErro);\n";
        body += "SETBUFFSIZE(" + P7 + "_obj," + P9 + "_obj);\n";
    } else {
        for (const tPair& pair : pairs) {
            const std::string v = pair.name->text();
            if (familyOf(pair.type) == tForeign::byte)
                body += "char " + v + "_chr[2]={" + v + ",0};\n";
            body += "pObj_Node " + v + "_obj = __SET_OBJECT(NULL," + valueOf(familyOf(pair.type), v) + ");\n";
        }
    }
    // Parameters the C caller reads back are passed by reference.
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const std::string v = pairs[i].name->text();
        tForeign fam = familyOf(pairs[i].type);
        bool back = !special && (fam == tForeign::text || isPointerFamily(fam));
        call += std::string(i ? "," : "") + (back ? "__ByRef(&" + v + "_obj)" : v + "_obj");
    }
    if (f->procedure)
        body += std::string(f->name.text()) + "(" + call + ");\npObj_Node ret_obj = __SET_OBJECT(NULL,__INIT_NIL());\n";
    else
        body += "pObj_Node ret_obj = __SET_OBJECT(NULL," + std::string(f->name.text()) + "(" + call + "));\n";
    body += "int ParamSize = 0;\n";
    if (special) {
        if (upper(L[4]) == "PCHAR") {
            // The result buffer: the parameter SETBUFFSIZE sized.
            const std::string Q = L[7]->text();
            body += "ParamSize = " + std::string(L[n - 1]->text()) + ";\n";
            body += "if(ParamSize > 0 ){\n memset(" + Q + ",0x00,ParamSize);\n";
            body += "xstrncpy(" + Q + ",(char*)__GET_STRING(" + Q + "_obj),ParamSize);\n}\n";
        }
    } else {
        for (const tPair& pair : pairs) {
            const std::string v = pair.name->text();
            tForeign fam = familyOf(pair.type);
            if (fam == tForeign::text) {
                // A C caller's buffer has no size the run-time could ask for:
                // the text it passed, zero included, is the room it lent. An
                // unchanged text is not written back (it may be a literal).
                const std::string text = "__GET_STRING(" + v + "_obj)";
                body += "if(" + v + " && " + v + "_obj->objType==T_CHARPTR && " + text + " && strcmp(" + v + "," +
                        text + ")!=0)\n{\n";
                body += "ParamSize = (int)xstrlen(" + v + ") + 1;\n";
                body += "memset(" + v + ", 0x00, ParamSize);\n";
                body += "xstrncpy(" + v + "," + text + ", ParamSize-1);\n}\n";
            } else if (isPointerFamily(fam)) {
                std::string target = cTypeOf(pair.type);
                target.pop_back();  // the pointed-to type
                body += "if(" + v + " && " + v + "_obj->objType==T_DOUBLE) *" + v + " = (" + target + ")" +
                        (fam == tForeign::unsignedPointer ? "(long long)" : "") + "__GET_DOUBLE(" + v + "_obj);\n";
            }
        }
    }
    if (returns)
        body += T + " ret = " + result + ";\n";
    body += "__end_context(NULL);\n__EndGlobal();\nreturn";
    body += returns ? " ret;\n}\n" : ";\n}\n";
    body += " catch(...){\nprintf(\"SAIU PELO CATCH.....\");\n";
    body += !returns ? "return;\n}\n" : pointerResult ? "return NULL;\n}\n" : "return -9999;\n}\n";
    body += returns ? " return 0;\n}\n" : ";\n}\n";
    p.foreignBodies.add(new String(body.c_str()));
}
