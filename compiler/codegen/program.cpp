// tProgram and its records: function switching, fragments, the
// automatic-public rule, constant references and the output streams.
#include "program.h"

#include <charconv>
#include <chrono>
#include <cstdarg>
#include <cstring>
#include <string>
#include <thread>

namespace {

tProgram* activeProgram = nullptr;

}  // namespace

void freeStrings(tArray<String>& list) { list.deleteAll(); }

void tFragments::add(const char* text)
{
    starts_.push_back(buffer_.size());
    buffer_.append(text);
    buffer_.push_back('\0');
}

void tFragments::clear()
{
    std::string().swap(buffer_);
    std::vector<std::size_t>().swap(starts_);
}

tFunctionDefinition::tFunctionDefinition(const char* functionName) : name(functionName) {}

tFunctionDefinition::~tFunctionDefinition()
{
    freeStrings(blockVarNames);
    freeStrings(localNames);
    freeStrings(paramNames);
}

const char* tFunctionDefinition::lastFragment() const { return body.last(); }

void tFunctionDefinition::addName(tArray<String>& list, const char* name)
{
    if (!hasName(list, name))
        list.add(new String(name));
}

bool tFunctionDefinition::hasName(const tArray<String>& list, const char* name)
{
    for (int i = 0; i < list.count(); ++i)
        if (*list[i] == name)
            return true;
    return false;
}

tProgram::tProgram() = default;

tProgram::~tProgram()
{
    if (activeProgram == this)
        activeProgram = nullptr;
    releaseSource();
    freeStrings(publics);
    freeStrings(publicDefinitions);
    freeStrings(blockVars);
    freeStrings(capturedArgs);
    freeStrings(exportedFunctions);
    freeStrings(foreignDeclarations);
    freeStrings(foreignBodies);
    freeStrings(importedPublics);
    freeStrings(importedFunctionDefs);
}

tProgram& tProgram::active() { return *activeProgram; }

void tProgram::activate() { activeProgram = this; }

void tProgram::beginSource()
{
    // Records of the previous source are gone by now; never write into them.
    currentFunction = nullptr;
    currentValid = nullptr;
    lineOffset = 0;
    firstFunctionSeen = 0;
    statementLine = 0;
    outsideReported_ = 0;
}

void tProgram::releaseSource()
{
    functions.deleteAll();
    validFunctions.deleteAll();
    freeStrings(statics);
    staticInitialisers.clear();
    currentFunction = nullptr;
    currentValid = nullptr;
}

bool tProgram::needFunction()
{
    if (currentFunction)
        return true;
    if (!outsideReported_)
        report(tCodegenMessage::outsideFunction, statementLine);
    outsideReported_ = 1;
    return false;
}

void tProgram::append(const char* text)
{
    if (!needFunction())
        return;
    currentFunction->endedWithReturn = 0;
    if (!capturing)
        currentFunction->body.add(text);
}

void tProgram::appendf(const char* format, ...)
{
    char small[256];
    va_list args;
    va_start(args, format);
    int length = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (length < static_cast<int>(sizeof small)) {
        append(small);
        return;
    }
    std::string large(static_cast<std::size_t>(length) + 1, '\0');
    va_start(args, format);
    std::vsnprintf(&large[0], large.size(), format, args);
    va_end(args);
    append(large.c_str());
}

void tProgram::appendNumbered(const char* before, int number, const char* after)
{
    char text[64];
    std::size_t length = std::strlen(before);
    std::memcpy(text, before, length);
    char* end = std::to_chars(text + length, text + 24 + length, number).ptr;
    std::strcpy(end, after);
    append(text);
}

void tProgram::lineMarker(unsigned int line)
{
    if (options.lineTracking)
        appendNumbered("__SL(", mappedLine(line), ");");
}

tFunctionDefinition* tProgram::openFunction(const char* functionName, bool isProcedure)
{
    tFunctionDefinition* function = new tFunctionDefinition(functionName);
    function->procedure = isProcedure ? 1 : 0;
    functions.add(function);
    currentFunction = function;
    if (mainFunction.empty() && functionName && *functionName &&
        (function->name.equalsIgnoreCase("MAIN") || function->name.equalsIgnoreCase(options.moduleName.c_str())))
        mainFunction.assign(functionName);
    return function;
}

tValidFunction* tProgram::openValidFunction(tInstruction* blockExpression)
{
    tValidFunction* block = new tValidFunction();
    block->blockExpression = blockExpression;
    validFunctions.add(block);
    block->number = ++validCount;
    currentValid = block;
    libraryValidCount = block->number;
    return block;
}

void tProgram::resolveTarget(const char* upperName)
{
    if (!upperName || !*upperName)
        return;
    if (currentFunction && (currentFunction->isParam(upperName) || currentFunction->isLocal(upperName)))
        return;
    if (tFunctionDefinition::hasName(statics, upperName) || tFunctionDefinition::hasName(publics, upperName))
        return;
    publics.add(new String(upperName));
    std::printf(codegenMessageText(tCodegenMessage::autoPublic), upperName);
    std::fflush(stdout);
    if (autoPublicPauseMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(autoPublicPauseMs));
}

int tProgram::constNumber(double value) { return constants.internNumber(value) + options.constantBase; }
int tProgram::constLogical(int value) { return constants.internLogical(value) + options.constantBase; }
int tProgram::constString(const char* text) { return constants.internString(text) + options.constantBase; }

void tProgram::report(tCodegenMessage message, unsigned int line, const char* a, const char* b, const char* c)
{
    ++errors_;
    std::printf("%s(%i): ", options.sourcePath.c_str(), mappedLine(line));
    std::printf(codegenMessageText(message), a, b, c);
    std::fflush(stdout);
}

void tProgram::reportSource(tCodegenMessage message, const char* a)
{
    ++errors_;
    std::printf("%s: ", options.sourcePath.c_str());
    std::printf(codegenMessageText(message), a);
    std::fflush(stdout);
}

void tProgram::writeText(const char* text)
{
    if (options.sectionIndex == 1)
        appendPiece(firstSource, text);
    else if (sourceFile)
        writePiece(sourceFile, text);
}

void tProgram::writeLine(const char* text)
{
    writeText(text);
    writeText(options.sectionIndex == 1 ? "\n" : "\r\n");
}

void tProgram::writeHeader(const char* text)
{
    if (headerFile)
        writePiece(headerFile, text);
}

namespace {

// Calls back with each run of the piece between folded "%%" pairs; every run
// but the first starts at the kept '%'.
template <typename Sink>
void foldPercents(const char* text, Sink sink)
{
    const char* run = text;
    for (const char* p = text; *p; ++p) {
        if (p[0] == '%' && p[1] == '%') {
            sink(run, static_cast<std::size_t>(p - run));
            run = ++p;
        }
    }
    sink(run, std::strlen(run));
}

}  // namespace

void tProgram::writePiece(std::FILE* file, const char* text)
{
    foldPercents(text, [file](const char* run, std::size_t length) {
        if (length)
            std::fwrite(run, 1, length, file);
    });
}

void tProgram::appendPiece(std::string& out, const char* text)
{
    foldPercents(text, [&out](const char* run, std::size_t length) { out.append(run, length); });
}
