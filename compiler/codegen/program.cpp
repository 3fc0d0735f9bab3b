// tProgram and its records: function switching, fragments, the
// automatic-public rule, constant references and the output streams.
#include "program.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdarg>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

namespace {

tProgram* activeProgram = nullptr;

}  // namespace

void freeStrings(tArray<String>& list) { list.deleteAll(); }

void tFragments::add(const char* text)
{
    std::size_t length = std::strlen(text) + 1;  // with its terminating zero
    if (buffer_.size() - used_ < length) {
        // The text may be a fragment of this buffer, which is about to move.
        const char* base = buffer_.data();
        std::less<const char*> before;
        bool own = !before(text, base) && before(text, base + used_);
        std::size_t offset = own ? static_cast<std::size_t>(text - base) : 0;
        buffer_.resize(std::max(buffer_.size() * 2, used_ + length + 256));
        if (own)
            text = buffer_.data() + offset;
    }
    starts_.push_back(used_);
    std::memcpy(buffer_.data() + used_, text, length);
    used_ += length;
}

std::string tFragments::join(int from, int to) const
{
    std::string text;
    for (int i = from; i < to; ++i)
        text += this->text(i);
    return text;
}

void tFragments::truncate(int count)
{
    if (count >= this->count())
        return;
    used_ = starts_[static_cast<std::size_t>(count)];
    starts_.resize(static_cast<std::size_t>(count));
}

void tFragments::clear()
{
    std::string().swap(sealed_);
    std::vector<char>().swap(buffer_);
    used_ = 0;
    std::vector<std::size_t>().swap(starts_);
}

void tFragments::seal()
{
    if (empty())
        return;
    std::size_t at = sealed_.size();
    sealed_.resize(at + used_);
    const char* in = buffer_.data();
    const char* end = in + used_;
    char* out = &sealed_[at];
    if (!std::memchr(in, '%', used_)) {
        // Nothing to fold (the common case): each fragment as it stands.
        std::size_t n = starts_.size();
        for (std::size_t i = 0; i < n; ++i) {
            std::size_t from = starts_[i], to = (i + 1 < n ? starts_[i + 1] : used_) - 1;
            std::memcpy(out, in + from, to - from);
            out += to - from;
        }
    } else {
        // One pass over the zero-separated fragments, folding "%%" within
        // each as tProgram::appendPiece does.
        while (in < end) {
            char c = *in++;
            if (c == '\0')
                continue;
            *out++ = c;
            if (c == '%' && in < end && *in == '%')
                ++in;
        }
    }
    sealed_.resize(static_cast<std::size_t>(out - sealed_.data()));
    sealed_.shrink_to_fit();
    std::vector<char>().swap(buffer_);
    used_ = 0;
    std::vector<std::size_t>().swap(starts_);
}

tFunctionDefinition::tFunctionDefinition(const char* functionName) : name(functionName) {}

tFunctionDefinition::~tFunctionDefinition() = default;

const char* tFunctionDefinition::lastFragment() const { return body.last(); }

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
    pendingReads_.clear();
    for (int i = 0; i < importedPublics.count(); ++i)
        importedNames_.insert(importedPublics[i]->text());
}

void tProgram::beginStatements()
{
    freeStrings(foreignDeclarations);
    freeStrings(foreignBodies);
    exitHandlerWritten = 0;
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
    ++treeReferences;
    validFunctions.add(block);
    block->enclosing = currentFunction;
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
    publics.addOnce(upperName);
    say(codegenMessageText(tCodegenMessage::autoPublic), upperName);
    if (autoPublicPauseMs > 0)
        pause(autoPublicPauseMs);
}

void tProgram::say(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    if (!holding_) {
        std::vprintf(format, args);
        va_end(args);
        std::fflush(stdout);
        return;
    }
    char small[256];
    va_list again;
    va_copy(again, args);
    int length = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (length >= static_cast<int>(sizeof small)) {
        std::string large(static_cast<std::size_t>(length) + 1, '\0');
        std::vsnprintf(&large[0], large.size(), format, again);
        heldText_.append(large.c_str(), static_cast<std::size_t>(length));
    } else if (length > 0) {
        heldText_.append(small, static_cast<std::size_t>(length));
    }
    va_end(again);
}

void tProgram::pause(int milliseconds)
{
    if (holding_)
        heldPauses_.push_back({heldText_.size(), milliseconds});
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void tProgram::releaseMessages()
{
    holding_ = false;
    std::size_t printed = 0;
    for (const tHeldPause& held : heldPauses_) {
        std::fwrite(heldText_.data() + printed, 1, held.at - printed, stdout);
        std::fflush(stdout);
        printed = held.at;
        pause(held.milliseconds);
    }
    std::fwrite(heldText_.data() + printed, 1, heldText_.size() - printed, stdout);
    std::fflush(stdout);
    dropMessages();
}

void tProgram::dropMessages()
{
    holding_ = false;
    std::string().swap(heldText_);
    heldPauses_.clear();
}

namespace {

// ORDER PLAIN_RUNTIME_CALLS: the run-time functions that a program calls by
// their plain names (a name in capitals is its own upper-cased C name), with
// the fewest and the most arguments their declarations in runtime/include
// take. The test of this list (tests/unit/codegen/runtime_calls_test.cpp)
// reads the headers and names what is missing or different.
// clang-format off
constexpr tRuntimeCall kRuntimeCalls[] = {
    {"QOUT", 0, 16},      {"QQOUT", 0, 16},    {"OUTSTD", 0, 16},      {"OUTERR", 0, 16},
    {"NOROUND", 2, 2},    {"SHUTDOWN", 0, 0},  {"SLEEP", 0, 1},        {"GETVER", 0, 0},
    {"OPENCOM", 0, 5},    {"CLOSECOM", 0, 1},  {"READCOM", 0, 3},      {"WRITECOM", 0, 3},
    {"ADDTIMER", 1, 2},   {"ACTIVETIMER", 1, 1}, {"DEACTIVETIMER", 1, 1}, {"SETKEY", 0, 3},
    {"SETBMP", 1, 2},     {"GETSPACE", 0, 2},  {"SETDIRTY", 3, 3},     {"WRITELOG", 0, 1},
    {"SETBATCHOPER", 1, 1}, {"SETBUFFSIZE", 2, 2}, {"SETBRWFNT", 0, 2},
};
// clang-format on

}  // namespace

const tRuntimeCall* runtimeCalls(int& count)
{
    count = static_cast<int>(sizeof kRuntimeCalls / sizeof kRuntimeCalls[0]);
    return kRuntimeCalls;
}

bool tProgram::isDeclared(const char* name, const tFunctionDefinition* function) const
{
    if (function && (function->isLocal(name) || function->isParam(name)))
        return true;
    return tFunctionDefinition::hasName(statics, name) || tFunctionDefinition::hasName(publics, name) ||
           importedNames_.count(name) > 0;
}

namespace {

// A block's own variables are the ones it declares for its parameters.
bool blockOwns(const tValidFunction& block, const char* name)
{
    return tFunctionDefinition::hasName(block.blockVarNames, name);
}

// The function or block around a block that has the name as a LOCAL or a
// parameter; null when none has.
const tFunctionDefinition* outerOwner(const tValidFunction& block, const char* name)
{
    for (const tFunctionDefinition* outer = block.enclosing; outer;) {
        if (outer->isLocal(name) || outer->isParam(name))
            return outer;
        const tValidFunction* outerBlock = outer->asBlock();
        if (outerBlock && blockOwns(*outerBlock, name))
            return outer;
        outer = outerBlock ? outerBlock->enclosing : nullptr;
    }
    return nullptr;
}

}  // namespace

void tProgram::noteRead(const char* upperName, unsigned int line)
{
    if (!upperName || !*upperName || capturing)
        return;
    const tValidFunction* block = currentFunction ? currentFunction->asBlock() : nullptr;
    if (block ? blockOwns(*block, upperName) : isDeclared(upperName, currentFunction))
        return;
    pendingReads_.push_back({upperName, currentFunction, line});
}

void tProgram::noteCall(const char* upperName, int arguments, unsigned int line)
{
    if (!upperName || !*upperName || capturing)
        return;
    calls_.push_back({upperName, options.sourcePath, mappedLine(line), arguments});
}

void tProgram::checkSourceNames()
{
    for (const tPendingRead& read : pendingReads_) {
        const char* name = read.name.c_str();
        // A block sees its own variables, the statics and the publics, never
        // the LOCALs of the function around it, even where a static or a
        // public of the same name would compile.
        if (const tValidFunction* block = read.function ? read.function->asBlock() : nullptr) {
            if (const tFunctionDefinition* owner = outerOwner(*block, name)) {
                bool local = owner->isLocal(name);
                std::string ownerName = owner->asBlock() ? "the code block around it" : owner->name.text();
                report(tCodegenMessage::blockReadsLocal, read.line, name, local ? "LOCAL" : "parameter",
                       ownerName.c_str());
                continue;
            }
        }
        if (!isDeclared(name, read.function))
            unresolvedReads_.push_back({read.name, options.sourcePath, mappedLine(read.line), 0});
    }
    pendingReads_.clear();
    for (int i = 0; i < functions.count(); ++i) {
        const tFunctionDefinition* f = functions[i];
        if (f->name.empty() || f->noContext)
            continue;
        parameterCounts_[f->name.text()] = f->paramNames.count();
    }
}

bool tProgram::checkProgramNames()
{
    int before = errors_;
    std::unordered_set<std::string> late;
    for (const tPlace& read : unresolvedReads_) {
        if (tFunctionDefinition::hasName(publics, read.name.c_str())) {
            if (late.insert(read.name).second)
                lateExterns_.push_back(read.name);
            continue;
        }
        reportAt(read, tCodegenMessage::undeclared, read.name.c_str());
    }
    unresolvedReads_.clear();
    for (const tPlace& call : calls_) {
        auto known = parameterCounts_.find(call.name);
        if (known != parameterCounts_.end()) {
            // Parameters a call leaves out are NIL; more than it has cannot be passed.
            if (call.count > known->second) {
                std::string want = std::to_string(known->second), have = std::to_string(call.count);
                reportAt(call, tCodegenMessage::tooManyArguments, call.name.c_str(), want.c_str(), have.c_str());
            }
            continue;
        }
        const tRuntimeCall* runtime = nullptr;
        for (const tRuntimeCall& r : kRuntimeCalls)
            if (call.name == r.name)
                runtime = &r;
        if (!runtime) {
            // A library's functions may be called from the program that uses it, and the other way round.
            if (options.libraryMode == codegen::kLibraryNone)
                reportAt(call, tCodegenMessage::undefinedFunction, call.name.c_str());
            continue;
        }
        std::string have = std::to_string(call.count);
        if (call.count > runtime->most) {
            std::string most = std::to_string(runtime->most);
            reportAt(call, runtime->most == 16 ? tCodegenMessage::tooManyValues : tCodegenMessage::tooManyArguments,
                     call.name.c_str(), most.c_str(), have.c_str());
        } else if (call.count < runtime->fewest) {
            std::string fewest = std::to_string(runtime->fewest);
            reportAt(call, tCodegenMessage::tooFewArguments, call.name.c_str(), fewest.c_str(), have.c_str());
        }
    }
    calls_.clear();
    return errors_ == before;
}

void tProgram::reportAt(const tPlace& place, tCodegenMessage message, const char* a, const char* b, const char* c)
{
    ++errors_;
    say("%s(%i): ", place.source.c_str(), place.line);
    say(codegenMessageText(message), a, b, c);
}

int tProgram::constNumber(double value) { return constants.internNumber(value) + options.constantBase; }
int tProgram::constLogical(int value) { return constants.internLogical(value) + options.constantBase; }
int tProgram::constString(const char* text) { return constants.internString(text) + options.constantBase; }

void tProgram::report(tCodegenMessage message, unsigned int line, const char* a, const char* b, const char* c)
{
    ++errors_;
    say("%s(%i): ", options.sourcePath.c_str(), mappedLine(line));
    say(codegenMessageText(message), a, b, c);
}

void tProgram::reportSource(tCodegenMessage message, const char* a)
{
    ++errors_;
    say("%s: ", options.sourcePath.c_str());
    say(codegenMessageText(message), a);
}

void tProgram::writeText(const char* text)
{
    if (options.sectionIndex == 1)
        appendPiece(firstSource, text);
    else if (sourceFile)
        writePiece(sourceFile, text);
}

void tProgram::writeFolded(const std::string& text)
{
    if (options.sectionIndex == 1)
        firstSource.append(text.data(), text.size());
    else if (sourceFile)
        std::fwrite(text.data(), 1, text.size(), sourceFile);
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

void tProgram::appendPiece(tSpool& out, const char* text)
{
    foldPercents(text, [&out](const char* run, std::size_t length) { out.append(run, length); });
}
