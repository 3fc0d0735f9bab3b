// After the last source: the first source's file (its buffered text with
// every public definition inserted at the mark), the program's
// initialisation function, the constant-pool context files "ctx%03i.cpp" of
// at most 400 entries each, and the shared header that includes the
// run-time's headers and every source's ".hpp".
#include <cstdio>

#include "emit_program.h"
#include "emit_text.h"

using emit::format;

namespace {

constexpr int kConstantsPerFile = 400;

void writePieces(std::FILE* file, tArray<String>& pieces, int from, int to)
{
    for (int i = from; i < to; ++i) {
        if (file)
            tProgram::writePiece(file, pieces[i]->text());
        delete pieces[i];
    }
}

void writeConstant(std::FILE* file, const tConstant& constant, int reference)
{
    switch (constant.kind) {
    case tConstant::kNumber:
        std::fprintf(file, "__const_add_el(__INIT_DOUBLE(%s)); // %i\n", numberLiteral(constant.number).c_str(),
                     reference);
        break;
    case tConstant::kLogical:
        std::fprintf(file, "__const_add_el(__INIT_BOOL(%s));// %i\n", constant.logical ? "True" : "False", reference);
        break;
    default:
        std::fprintf(file, "__const_add_el(__INIT_CHARCONST(\"%s\"));// %i\n", cStringBody(constant.text).c_str(),
                     reference);
        break;
    }
}

}  // namespace

std::string cStringBody(const char* text)
{
    std::string body;
    int backslashes = 0;  // run of backslashes just before the current character
    for (const char* c = text; c && *c; ++c) {
        if (*c == '"' && backslashes % 2 == 0)
            body += '\\';
        body += *c;
        backslashes = *c == '\\' ? backslashes + 1 : 0;
    }
    if (backslashes % 2 == 1)
        body += '\\';
    return body;
}

bool tProgramWriter::writeFirstSource()
{
    tProgram& p = program_;
    if (sources_.empty())
        return false;
    std::string path = pathStem(sources_.front()) + ".cpp";
    std::FILE* file = std::fopen(path.c_str(), p.options.libraryMode == codegen::kLibraryImport ? "ab" : "wb");
    if (!file)
        std::printf("Error creating %s\n", path.c_str());
    std::size_t mark = publicMark_ < p.firstSource.size() ? publicMark_ : p.firstSource.size();
    bool copied = p.firstSource.copyTo(file, 0, mark);
    writePieces(file, p.publicDefinitions, 0, p.publicDefinitions.count());
    copied = p.firstSource.copyTo(file, mark, p.firstSource.size()) && copied;
    p.firstSource.clear();
    p.publicDefinitions.clear();
    if (!file)
        return false;
    if (!copied)
        std::printf("Error creating %s\n", path.c_str());
    std::fclose(file);
    return copied;
}

bool tProgramWriter::writeInitAndContexts(int& contextCount)
{
    tProgram& p = program_;
    contextCount = 0;
    if (sources_.empty())
        return false;
    std::string first = pathStem(sources_.front()) + ".cpp";
    std::FILE* file = std::fopen(first.c_str(), "ab");
    if (!file) {
        std::printf("Error creating %s\n", first.c_str());
        return false;
    }
    bool import = p.options.libraryMode == codegen::kLibraryImport;
    int poolSize = p.constants.count();
    int files = (poolSize + kConstantsPerFile - 1) / kConstantsPerFile;

    std::fprintf(file, "\r\nvoid %s()\r\n{\r\n", import ? "__initPE" : "__initStatics");
    if (import) {
        for (int i = 0; i < p.exportedFunctions.count(); ++i) {
            const char* name = p.exportedFunctions[i]->text();
            std::fprintf(file, "RegisterBlock(\"%s\",(void*)%s);\r\n", name + 2, name);
        }
    } else if (p.options.target == tTarget::PALMOS) {
        for (int seg = 1; seg <= 13; ++seg)
            std::fprintf(file, "init_seg_%02i();\r\n", seg);
    } else if (p.options.target == tTarget::DOTNET) {
        std::fprintf(file, "SetDotNet();\r\n");
    }
    // The pool is loaded before the sources' initialisers run, since static
    // initial values are read from it.
    if (poolSize > 0) {
        if (p.options.libraryMode == codegen::kLibraryNone)
            std::fprintf(file, "__const_set_amount(%i);\r\n", poolSize + p.options.constantBase);
        for (int k = 1; k <= files; ++k)
            std::fprintf(file, "__cxt_init_%03i();\r\n", p.options.contextBase + k);
    }
    for (const std::string& source : sources_)
        std::fprintf(file, "__init_%s();\n\r\n", cIdentifier(pathFileName(source)).c_str());
    std::fprintf(file, "}\r\n");
    std::fclose(file);

    bool ok = true;
    std::string directory = pathDirectory(sources_.front());
    const tArray<tConstant>& entries = p.constants.entries();
    for (int k = 1; k <= files; ++k) {
        int number = p.options.contextBase + k;
        std::string path = directory + format("ctx%03i.cpp", number);
        std::remove(path.c_str());
        std::FILE* ctx = std::fopen(path.c_str(), "wb");
        if (!ctx) {
            std::printf("Error creating %s\n", path.c_str());
            ok = false;
            continue;
        }
        std::fprintf(ctx, "#include \"%s\"\r\nvoid __cxt_init_%03i()\r\n{\r\n", p.options.headerName.c_str(), number);
        int end = k * kConstantsPerFile < poolSize ? k * kConstantsPerFile : poolSize;
        for (int i = (k - 1) * kConstantsPerFile; i < end; ++i)
            writeConstant(ctx, *entries[i], i + p.options.constantBase);
        std::fprintf(ctx, "}\r\n");
        std::fclose(ctx);
    }
    p.constants.clear();

    if (p.options.libraryMode == codegen::kLibraryGenerate) {
        std::FILE* dat = std::fopen(definitionPath.c_str(), "ab+");
        if (dat) {
            std::fprintf(dat, "CONST_AMNT=%d\r\nCTX_AMNT=%d\r\nCTX_SECTION=%d\r\n", poolSize, files,
                         p.options.sectionIndex);
            if (p.validCount > 0)
                std::fprintf(dat, "NUM_VALIDS=%d\r\n", p.libraryValidCount);
            std::fclose(dat);
        }
    }
    contextCount = files;
    return ok;
}

bool tProgramWriter::writeSharedHeader(int contextCount)
{
    tProgram& p = program_;
    const std::string& name = p.options.headerName;
    std::FILE* file = std::fopen(name.c_str(), "wb");
    if (!file) {
        std::printf("Error creating %s\n", name.c_str());
        return false;
    }
    tTarget target = p.options.target;
    bool palm = target == tTarget::PALMOS;
    bool handheldWindows = target == tTarget::POCKETPC || target == tTarget::DOTNET;
    if (palm)
        std::fputs("#include <palmos.h>\n", file);
    else if (handheldWindows)
        std::fputs("#include <windows.h>\n", file);
    for (const char* header : {"zeltaobjs.h", "zeltautil.h", "zeltaobjs2.h", "zeltamisc.h", "zeltadate.h",
                               "zeltaarray.h", "zeltastring.h", "zeltadbbrowse.h", "zeltaeval.h"})
        std::fprintf(file, "#include \"%s\"\n", header);
    if (!handheldWindows)
        std::fputs("#include \"zeltardd.h\"\n", file);
    if (palm)
        std::fputs("#include \"zeltagui.h\"\n#include \"zeltagui2.h\"\n", file);
    else if (handheldWindows)
        std::fputs("#include \"zeltawin.h\"\n", file);
    std::fputs("#include \"zeltanet.h\"\n#include \"zeltarpc.h\"\n", file);
    if (target == tTarget::WIN32EXE || target == tTarget::WIN32DLL || target == tTarget::GCCDEBUG)
        std::fputs("#define _T(x) x\n", file);
    if (target == tTarget::GCCDEBUG)
        std::fputs("#define __FULL_WIN_DEBUG__ x\n", file);
    for (const std::string& source : sources_)
        std::fprintf(file, "#include \"%s.hpp\"\n", pathStem(source).c_str());
    // Publics read in a source before a later source declared them.
    for (const std::string& late : p.lateExterns())
        std::fprintf(file, "extern pObj_Node %s;\n", late.c_str());
    for (int k = 1; k <= contextCount; ++k) {
        int number = p.options.contextBase + k;
        if (palm)
            std::fprintf(file, "void __cxt_init_%03i() __attribute__ ((section (\"ctx_%03i\")));\n", number, number);
        else
            std::fprintf(file, "void __cxt_init_%03i();\n", number);
    }
    std::fclose(file);
    return true;
}
