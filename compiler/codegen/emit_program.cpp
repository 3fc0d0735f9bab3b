// Writing one source: includes, prototypes, statics, publics, the entry
// point, the code-block functions, the functions with their prologues and
// epilogues, the source's __init_ function and the foreign-call interface.
// Source text goes through tProgram::writeText/writeLine (buffered for the
// first source); header text straight to the ".hpp" with CR LF line ends.
#include "emit_program.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "emit_text.h"

using emit::entryPointLines;
using emit::format;

namespace {

const char* const kCrLf = "\r\n";

std::FILE* openOrReport(const std::string& path, const char* mode)
{
    std::FILE* file = std::fopen(path.c_str(), mode);
    if (!file)
        std::printf("Error creating %s\n", path.c_str());
    return file;
}

void closeFile(std::FILE*& file)
{
    if (file)
        std::fclose(file);
    file = nullptr;
}

bool isPalm(const tProgram& p) { return p.options.target == tTarget::PALMOS; }

}  // namespace

std::string pathStem(const std::string& path)
{
    std::size_t slash = path.find_last_of("/\\");
    std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path;
    return path.substr(0, dot);
}

std::string pathFileName(const std::string& path)
{
    std::string stem = pathStem(path);
    std::size_t slash = stem.find_last_of("/\\");
    return slash == std::string::npos ? stem : stem.substr(slash + 1);
}

std::string cIdentifier(const std::string& name)
{
    std::string id = name.empty() || std::isdigit(static_cast<unsigned char>(name[0])) ? "_" + name : name;
    for (char& c : id)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_')
            c = '_';
    return id;
}

std::string pathDirectory(const std::string& path)
{
    std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

namespace {

// True when the function's body holds more than blank lines.
bool hasCode(const tFunctionDefinition& function)
{
    for (char c : function.body.sealed())
        if (!std::isspace(static_cast<unsigned char>(c)))
            return true;
    for (int i = 0; i < function.body.count(); ++i)
        for (const char* c = function.body.text(i); *c; ++c)
            if (!std::isspace(static_cast<unsigned char>(*c)))
                return true;
    return false;
}

}  // namespace

bool tProgramWriter::generateTree(tInstruction& root)
{
    beginTree();
    root.generate();
    return finishTree();
}

void tProgramWriter::beginTree()
{
    tProgram& p = program_;
    // Not opened through openFunction: a MAIN further down still wins.
    implicit_ = new tFunctionDefinition(p.options.moduleName.c_str());
    implicit_->procedure = 1;
    p.functions.add(implicit_);
    p.currentFunction = implicit_;
}

void tProgramWriter::generateStatement(tInstruction* statement)
{
    if (!statement)
        return;
    program_.statementLine = statement->sourceLine();
    statement->generate();
}

bool tProgramWriter::finishTree()
{
    tProgram& p = program_;
    const char* module = p.options.moduleName.c_str();
    tFunctionDefinition* implicit = implicit_;
    implicit_ = nullptr;
    if (!hasCode(*implicit)) {
        if (p.currentFunction == implicit)
            p.currentFunction = nullptr;
        for (int i = 0; i < p.functions.count(); ++i)
            if (p.functions[i] == implicit)
                delete p.functions.removeAt(i);
        return true;
    }
    for (int i = 0; i < p.functions.count(); ++i) {
        if (p.functions[i] != implicit && p.functions[i]->name.equalsIgnoreCase(module)) {
            std::printf(
                "%s: Error: statements before the first FUNCTION or PROCEDURE form the procedure %s, "
                "which the source also defines.\n",
                p.options.sourcePath.c_str(), module);
            return false;
        }
    }
    if (p.mainFunction.empty())
        p.mainFunction.assign(module);
    return true;
}

bool tProgramWriter::writeSource(const std::string& sourcePath)
{
    tProgram& p = program_;
    if (!p.options.creatorId.empty())
        for (char& c : p.options.creatorId)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (p.options.libraryMode == codegen::kLibraryImport)
        p.mainFunction.assign(p.options.importName.c_str());

    bool ok = true;
    std::string stem = pathStem(sourcePath);
    p.headerFile = openOrReport(stem + ".hpp", "wb");
    ok = ok && p.headerFile;
    if (p.options.sectionIndex != 1) {
        p.sourceFile = openOrReport(stem + ".cpp", "wb");
        ok = ok && p.sourceFile;
    } else {
        p.firstSource.setFolder(pathDirectory(sourcePath));
    }
    sources_.push_back(sourcePath);
    std::string moduleFile = pathFileName(sourcePath);
    std::string initName = cIdentifier(moduleFile);

    writeIncludes();
    writePrototypes(initName);
    writeStatics();
    writePublics();
    // An imported library's entry waits for the last source, whose pool
    // size is the program's.
    bool entrySource =
        p.options.libraryMode == codegen::kLibraryImport ? !p.options.importPending : p.options.sectionIndex == 1;
    if (entrySource && !entryWritten_)
        writeEntryPoint();
    writeCodeBlocks();
    writeFunctions();
    writeInitFunction(initName, moduleFile);
    writeForeignInterface();
    p.checkSourceNames();

    closeFile(p.sourceFile);
    closeFile(p.headerFile);
    p.releaseSource();
    return ok;
}

void tProgramWriter::writeIncludes()
{
    tProgram& p = program_;
    p.writeLine(format("#include \"%s\"", p.options.headerName.c_str()).c_str());
    bool import = p.options.libraryMode == codegen::kLibraryImport;
    auto declare = [&](const char* name) {
        p.writeLine(isPalm(p) ? format("void %s() __attribute__ ((section (\"init_01\")));", name).c_str()
                              : format("void %s();", name).c_str());
    };
    declare(import ? "__initPE" : "__initStatics");
    if (!import)
        return;
    declare("__initStatics");
    if (importsWritten_)
        return;
    importsWritten_ = true;
    for (int i = 0; i < p.importedFunctionDefs.count(); ++i) {
        p.writeHeader(p.importedFunctionDefs[i]->text());
        p.writeHeader(kCrLf);
    }
}

std::string tProgramWriter::prototypeOf(tFunctionDefinition& function)
{
    tProgram& p = program_;
    // The parameter list writes itself to the header stream; capture it.
    char* captured = nullptr;
    std::size_t size = 0;
    std::FILE* capture = open_memstream(&captured, &size);
    std::FILE* header = p.headerFile;
    p.headerFile = capture;
    std::string text = format(function.procedure ? "void %s" : "pObj_Node %s", function.name.text());
    if (function.parmDef)
        function.parmDef->emitDecl(1, 0);
    else
        p.writeHeader("()");
    p.headerFile = header;
    if (capture) {
        std::fclose(capture);
        text += captured ? captured : "";
        std::free(captured);
    }
    text += isPalm(p) ? format(" __attribute__ ((section (\"usr_%03i\")));", p.options.sectionIndex) : ";";
    return text;
}

void tProgramWriter::appendDefinitionLine(const char* key, const char* value)
{
    std::FILE* dat = std::fopen(definitionPath.c_str(), "ab+");
    if (!dat)
        return;
    std::fprintf(dat, "%s%s\r\n", key, value);
    std::fclose(dat);
}

void tProgramWriter::writePrototypes(const std::string& initName)
{
    tProgram& p = program_;
    bool generateLibrary = p.options.libraryMode == codegen::kLibraryGenerate;
    if (generateLibrary && !entryWritten_) {
        // With no main function known the first function stands in for it.
        const char* mainName = p.mainFunction.text();
        if (p.mainFunction.empty() && p.functions.count() > 0)
            mainName = p.functions[0]->name.text();
        appendDefinitionLine("MAIN_FUNC=", mainName);
        entryWritten_ = true;
    }
    for (int i = 0; i < p.functions.count(); ++i) {
        std::string prototype = prototypeOf(*p.functions[i]);
        if (p.headerFile)
            std::fputs(prototype.c_str(), p.headerFile);
        p.writeHeader(kCrLf);
        if (generateLibrary)
            appendDefinitionLine("IMPORT_FUNCDEF=", prototype.c_str());
    }
    if (isPalm(p))
        p.writeHeader(format(" void __init_%s() __attribute__ ((section (\"usr_%03i\")));\r\n", initName.c_str(),
                             p.options.sectionIndex)
                          .c_str());
    else
        p.writeHeader(format(" void __init_%s();\r\n", initName.c_str()).c_str());
    std::string attribute = isPalm(p) ? format("__attribute__ ((section (\"usr_%03i\")))", p.options.sectionIndex) : "";
    for (int i = 0; i < p.validFunctions.count(); ++i)
        p.writeHeader(format("pObj_Node vld_%03i(pObj_Node winid, pObj_Node newobj, pObj_Node value) %s ;\n",
                             p.validFunctions[i]->number + p.options.validBase, attribute.c_str())
                          .c_str());
}

void tProgramWriter::writeStatics()
{
    tProgram& p = program_;
    for (int i = 0; i < p.statics.count(); ++i)
        p.writeLine(format("static pObj_Node %s=NULL;", p.statics[i]->text()).c_str());
}

void tProgramWriter::writePublics()
{
    tProgram& p = program_;
    bool first = p.options.sectionIndex == 1;
    p.writeLine(first ? "pObj_Node _tmp_=NULL;" : "extern pObj_Node _tmp_;");
    if (p.options.libraryMode == codegen::kLibraryImport) {
        for (int i = p.importedPublics.count() - 1; i >= 0; --i) {
            String* name = p.importedPublics.removeAt(i);
            p.writeLine(format("extern pObj_Node %s;", name->text()).c_str());
            delete name;
        }
    }
    for (int i = 0; i < p.publics.count(); ++i) {
        const char* name = p.publics[i]->text();
        std::string definition = format("pObj_Node %s=NULL;\n", name);
        if (!tFunctionDefinition::hasName(p.publicDefinitions, definition.c_str())) {
            p.publicDefinitions.add(new String(definition.c_str()));
            if (p.options.libraryMode == codegen::kLibraryGenerate)
                appendDefinitionLine("PUBLIC=", name);
        }
        if (!first)
            p.writeLine(format("extern pObj_Node %s;", name).c_str());
    }
    if (first)
        publicMark_ = p.firstSource.size();
}

void tProgramWriter::writeCodeBlocks()
{
    tProgram& p = program_;
    for (int i = 0; i < p.validFunctions.count(); ++i) {
        int known = p.validFunctions.count();
        tValidFunction& block = *p.validFunctions[i];
        std::string text = blockText(block);
        // A block inside a block is found only while the outer one is
        // generated; declare it ahead of the outer block, which calls it.
        for (int k = known; k < p.validFunctions.count(); ++k)
            p.writeText(format("pObj_Node vld_%03i(pObj_Node winid, pObj_Node newobj, pObj_Node value);\n",
                               p.validFunctions[k]->number + p.options.validBase)
                            .c_str());
        p.writeText(text.c_str());
    }
}

std::string tProgramWriter::blockText(tValidFunction& block)
{
    tProgram& p = program_;
    std::string text = format("pObj_Node vld_%03i(pObj_Node winid, pObj_Node newobj, pObj_Node value)\n{\n",
                              block.number + p.options.validBase);
    p.currentFunction = &block;
    if (block.paramNode) {
        block.paramNode->collectBlockVars(1);
        if (!p.blockVars.empty()) {
            text += "pObj_Node ";
            for (int i = 0; i < p.blockVars.count(); ++i)
                text += format(i ? ",%s=NULL" : "%s=NULL", p.blockVars[i]->text());
            text += ";\n";
            text += "pObj_Node endP = __INIT_NUL();\n";
            text += format(" __GetValidFuncParam(winid,newobj,__const_get_el(%i),", p.constNumber(block.blockKind));
            for (int i = 0; i < p.blockVars.count(); ++i)
                text += format("&%s,", p.blockVars[i]->text());
            text += "&endP);\n";
        }
        freeStrings(p.blockVars);
    }
    block.body.clear();
    unsigned int line = block.blockExpression ? block.blockExpression->sourceLine() : 0;
    if (block.blockExpression)
        block.blockExpression->generate();
    else
        p.report(tCodegenMessage::incomplete, line, "code block");
    if (block.argSlots > 0)
        text += format("pObj_Node _args_[%i];\n", block.argSlots);
    text += format("__SL(%i);return ", p.mappedLine(line));
    for (int i = 0; i < block.body.count(); ++i)
        text += block.body.text(i);
    text += ";\n}\n";
    return text;
}

void tProgramWriter::writeEntryPoint()
{
    tProgram& p = program_;
    if (p.options.libraryMode == codegen::kLibraryGenerate)
        return;
    std::string creator = p.options.creatorId.empty() ? "ZELT" : p.options.creatorId;
    std::vector<std::string> lines;
    bool complete = entryPointLines(p, creator, lines);
    for (const std::string& line : lines)
        p.writeLine(line.c_str());
    if (!complete) {
        // The entry's text is written as the targets expect it, but no C++
        // compiler would take it.
        p.reportSource(tCodegenMessage::noMainFunction, p.options.sourcePath.c_str());
        return;
    }
    entryWritten_ = true;
}

void tProgramWriter::writeFunctions()
{
    tProgram& p = program_;
    bool import = p.options.libraryMode == codegen::kLibraryImport;
    for (int i = 0; i < p.functions.count(); ++i) {
        tFunctionDefinition& function = *p.functions[i];
        bool exported = import && strncasecmp(function.name.text(), "U_", 2) == 0;
        if (exported && function.paramNames.empty())
            function.addParam("aParams");
        p.writeText(format(function.procedure ? "void %s" : "pObj_Node %s", function.name.text()).c_str());
        if (function.parmDef)
            function.parmDef->emitDecl(0, 0);
        else
            p.writeText("()");
        p.writeLine("");
        p.writeLine("{");
        writeFunctionBody(function);
        p.writeLine("}");
        if (exported)
            p.exportedFunctions.add(new String(function.name.text()));
    }
}

void tProgramWriter::writeFunctionBody(tFunctionDefinition& function)
{
    tProgram& p = program_;
    bool import = p.options.libraryMode == codegen::kLibraryImport;
    if (!function.localNames.empty()) {
        std::string locals = "pObj_Node ";
        for (int i = 0; i < function.localNames.count(); ++i)
            locals += format(i ? ",%s=NULL" : "%s=NULL", function.localNames[i]->text());
        p.writeText((locals + ";\n").c_str());
    }
    if (function.argSlots > 0)
        p.writeText(format("pObj_Node _args_[%i];\n", function.argSlots).c_str());
    if (!function.noContext) {
        if (!import)
            p.writeText("__begin_context();\n");
        p.writeText("__LockStack(");
        if (function.parmDef)
            function.parmDef->emitDecl(0, 1);
        if (function.parmDef && function.parmDef->hasItems())
            p.writeText(",");
        p.writeText("__INIT_NUL());\n");
        if (p.options.lineTracking)
            p.writeText(format("__SF(\"%s\");\n", function.name.text()).c_str());
    }
    // The debug-info calls end in ';': a bare call before "}" or the next
    // statement would not compile.
    for (int i = 0; i < function.blockVarNames.count(); ++i) {
        const char* name = function.blockVarNames[i]->text();
        p.writeText(format("if(!%s)\n{\n%s=__fcpObj_CT(vVariable);\n", name, name).c_str());
        if (p.options.fullDebug)
            p.writeText(
                format("__SetVarDegubgInfo(%s,\"%s\",\"%s\",%s);\n", name, function.name.text(), name, "true").c_str());
        p.writeText("}\n");
    }
    p.writeFolded(function.body.sealed());
    for (int i = 0; i < function.body.count(); ++i)
        p.writeText(function.body.text(i));
    // A foreign-call wrapper has returned whatever its statement is followed by.
    if (function.endedWithReturn || function.suppressReturn || function.noContext)
        return;
    // A procedure returns no value, in library mode 2 as well.
    if (import)
        p.writeText(function.procedure ? "return;\n" : "return __INIT_NIL();\n");
    else if (function.procedure)
        p.writeText("__end_context(NULL);return;\n");
    else
        p.writeText("return __end_context(__INIT_NIL());\n");
}

void tProgramWriter::writeInitFunction(const std::string& initName, const std::string& moduleFile)
{
    tProgram& p = program_;
    p.writeLine(format(" void __init_%s()", initName.c_str()).c_str());
    p.writeLine("{");
    tFunctionDefinition* init = p.openFunction("__init", true);
    init->noContext = 1;
    for (int i = publicsInitialised_; i < p.publics.count(); ++i) {
        const char* name = p.publics[i]->text();
        p.writeLine(format("%s=__SET_OBJECT(%s,__INIT_NIL());", name, name).c_str());
        if (p.options.fullDebug)
            p.writeLine(
                format("__SetVarDegubgInfo(%s,\"%s\",\"%s\",%s);\n", name, moduleFile.c_str(), name, "false").c_str());
    }
    publicsInitialised_ = p.publics.count();
    for (int i = 0; i < p.statics.count(); ++i) {
        const char* name = p.statics[i]->text();
        p.writeLine(format("%s=__SET_OBJECT(%s,__INIT_NIL());", name, name).c_str());
    }
    for (int i = 0; i < p.staticInitialisers.count(); ++i)
        p.staticInitialisers[i]->generate();
    writeFunctionBody(*init);
    p.writeLine("}");
}

void tProgramWriter::writeForeignInterface()
{
    tProgram& p = program_;
    if (!p.foreignDeclarations.empty()) {
        p.writeText("extern \"C\"\n{\n");
        for (int i = 0; i < p.foreignDeclarations.count(); ++i)
            p.writeText(p.foreignDeclarations[i]->text());
        p.writeText("}\n");
    }
    for (int i = 0; i < p.foreignBodies.count(); ++i)
        p.writeText(p.foreignBodies[i]->text());
}
