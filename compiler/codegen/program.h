// The code generator's records: tFunctionDefinition (one per FUNCTION or
// PROCEDURE and per source initialiser), tValidFunction (one per code block)
// and tProgram, the one object that lives for the whole run and holds the
// program-wide tables. Nodes reach it through tProgram::active() and append
// their C text to its current function; they never hold a function record.
//
// Per source the driver calls beginSource(), generate() on the tree, then the
// file writers, then releaseSource(). A source whose tree held a construct
// that cannot be compiled has raised errorCount(); its C must not be built.
#pragma once

#include <cstdio>
#include <forward_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "../ast/containers.h"
#include "../ast/instruction.h"
#include "constant_pool.h"
#include "diagnostics.h"
#include "options.h"
#include "spool.h"

// A function body's text fragments, in order. They lie end to end in one
// buffer, each zero-terminated, so adding one allocates nothing of its own:
// a large source adds millions.
//
// A finished function's fragments are sealed: folded as a file receives
// them ("%%" -> "%") into one compact text that is written as it stands;
// fragments added after that follow it.
class tFragments {
public:
    void add(const char* text);
    int count() const { return static_cast<int>(starts_.size()); }
    bool empty() const { return starts_.empty(); }
    // The i-th fragment; i must be below count().
    const char* text(int i) const { return buffer_.data() + starts_[static_cast<std::size_t>(i)]; }
    // The last fragment, or null when there is none.
    const char* last() const { return empty() ? nullptr : text(count() - 1); }
    // Fragments [from, to) as one text.
    std::string join(int from, int to) const;
    // Drops the fragments from the given index on.
    void truncate(int count);
    void clear();

    void seal();
    // The folded text of the fragments sealed so far.
    const std::string& sealed() const { return sealed_; }

private:
    std::string sealed_;
    // Its size is the room; used_ bytes of it hold fragments. Growing a
    // string by append costs more than the copy for fragments this short.
    std::vector<char> buffer_;
    std::size_t used_ = 0;
    std::vector<std::size_t> starts_;
};

// A list of names in the order they were first added, owning its Strings,
// with an index beside it: a function may have thousands of locals and a
// program thousands of publics, and every use of a name looks it up.
class tNameList {
public:
    tNameList() = default;
    tNameList(const tNameList&) = delete;
    tNameList& operator=(const tNameList&) = delete;
    ~tNameList() { clear(); }

    // Takes the String; returns its index.
    int add(String* name)
    {
        index_.insert(keys_.emplace_front(name->text()));
        return names_.add(name);
    }
    void addOnce(const char* name)
    {
        if (!has(name))
            add(new String(name));
    }
    bool has(const char* name) const { return index_.count(std::string_view(name)) > 0; }
    String* operator[](int i) const { return names_[i]; }
    int count() const { return names_.count(); }
    bool empty() const { return names_.empty(); }
    // Frees every name.
    void clear()
    {
        names_.deleteAll();
        index_.clear();
        keys_.clear();
    }

private:
    tArray<String> names_;
    // The index holds views of copies that never move, so a look-up builds
    // no string of its own.
    std::forward_list<std::string> keys_;
    std::unordered_set<std::string_view> index_;
};

class tValidFunction;

class tFunctionDefinition {
public:
    explicit tFunctionDefinition(const char* functionName);
    virtual ~tFunctionDefinition();
    // The code block this is, or null for a function: every variable read
    // asks, and a virtual call costs less than a dynamic_cast.
    virtual const tValidFunction* asBlock() const { return nullptr; }
    tFunctionDefinition(const tFunctionDefinition&) = delete;
    tFunctionDefinition& operator=(const tFunctionDefinition&) = delete;

    // Each adds the name unless an equal one (case-sensitive) is there.
    void addBlockVar(const char* varName) { blockVarNames.addOnce(varName); }
    void addLocal(const char* varName) { localNames.addOnce(varName); }
    void addParam(const char* varName) { paramNames.addOnce(varName); }
    bool isLocal(const char* varName) const { return localNames.has(varName); }
    bool isParam(const char* varName) const { return paramNames.has(varName); }

    // The last body fragment, or null for an empty body.
    const char* lastFragment() const;

    static void addName(tNameList& list, const char* name) { list.addOnce(name); }
    static bool hasName(const tNameList& list, const char* name) { return list.has(name); }
    // The same on a plain list, by a linear search.
    static bool hasName(const tArray<String>& list, const char* name);

    String name;  // the upper-cased source name
    String second;
    tNameList blockVarNames;  // variables code blocks read; created on entry
    tNameList localNames;
    tNameList paramNames;
    tInstruction* parmDef = nullptr;  // the tParmDef; not owned
    int procedure = 0;
    int noContext = 0;        // the body opens no run-time context
    int endedWithReturn = 0;  // cleared by every fragment appended after a RETURN
    int suppressReturn = 0;   // RETURN writes nothing (foreign-call wrappers)
    int argSlots = 0;         // size of the _args_ array the body needs (tInOrder)
    tFragments body;
};

class tValidFunction : public tFunctionDefinition {
public:
    tValidFunction() : tFunctionDefinition("") {}
    const tValidFunction* asBlock() const override { return this; }

    // The function (or block) whose body wrote the block; not owned. Its
    // variables are not the block's: the block is a C function of its own.
    tFunctionDefinition* enclosing = nullptr;
    tInstruction* paramNode = nullptr;        // not owned
    tInstruction* blockExpression = nullptr;  // not owned
    int number = 0;                           // 1-based in order of creation within the run
    int blockKind = 0;                        // 1 or 2 once a tValidParam has set it
};

class tProgram {
public:
    tProgram();
    ~tProgram();
    tProgram(const tProgram&) = delete;
    tProgram& operator=(const tProgram&) = delete;

    // The program that nodes write into. There is exactly one per run; tests
    // make their own and activate it.
    static tProgram& active();
    void activate();

    // Resets the per-source state; options must already describe the source.
    void beginSource();
    // Before the first statement of a source's tree is generated.
    void beginStatements();
    // Frees the function records, code-block records and statics of the
    // source, once its files are written.
    void releaseSource();

    // Appends a fragment to the current function (see tFunctionDefinition).
    // With no current function the text is dropped and the statement is
    // reported once per source.
    void append(const char* text);
    // False, and the statement reported once per source, when there is no
    // current function to write into.
    bool needFunction();
    void appendf(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // before, the number as "%i" writes it, after: as appendf, without the
    // formatting cost. before and after are short literals (under 20 bytes).
    void appendNumbered(const char* before, int number, const char* after);
    // "__SL(line);" under line tracking; the line is mapped by lineOffset.
    void lineMarker(unsigned int line);

    // Creates a function record, makes it current and settles the main
    // function name.
    tFunctionDefinition* openFunction(const char* functionName, bool isProcedure);
    tValidFunction* openValidFunction(tInstruction* blockExpression);

    // The automatic-public rule for a name about to be assigned.
    void resolveTarget(const char* upperName);

    // Name checks, so that a program the C++ compiler would reject is
    // reported here with its source place. A name read before anything
    // declares it waits for the end of its source (a LOCAL or STATIC further
    // down), then for the end of the program (a PUBLIC of a later source);
    // calls wait for the program's end, when every function is known.
    void noteRead(const char* upperName, unsigned int line);
    void noteCall(const char* upperName, int arguments, unsigned int line);
    // End of a source, before releaseSource: settles its reads and records
    // the parameter counts of its functions.
    void checkSourceNames();
    // After the last source; false when a read or a call was reported.
    bool checkProgramNames();
    // Publics that only a later source declared, for the shared header.
    const std::vector<std::string>& lateExterns() const { return lateExterns_; }

    // Constant-pool references: position plus the constant base.
    int constNumber(double value);
    int constLogical(int value);
    int constString(const char* text);

    // Prints an error at a node's line ("file(line): " and the message's
    // text with its pieces) and counts it.
    void report(tCodegenMessage message, unsigned int line, const char* a = "", const char* b = "", const char* c = "");
    // The same for an error of the source as a whole ("file: ").
    void reportSource(tCodegenMessage message, const char* a = "");
    int errorCount() const { return errors_; }
    int mappedLine(unsigned int line) const { return static_cast<int>(line) + lineOffset; }

    // The source and header streams of the file writers. While the first
    // source is written (section index 1) source text is buffered in
    // firstSource; header text always goes straight to headerFile. Pieces
    // reach a file as printf formats without arguments: "%%" becomes "%".
    void writeText(const char* text);
    // Text already folded, such as a sealed body, to the source stream.
    void writeFolded(const std::string& text);
    void writeLine(const char* text);
    void writeHeader(const char* text);
    static void writePiece(std::FILE* file, const char* text);
    // The piece as it reaches a file, added to the end of the text.
    static void appendPiece(std::string& out, const char* text);
    static void appendPiece(tSpool& out, const char* text);

    // While held, the messages of the generator (errors and warnings, with
    // the pause after a warning) wait, in order, to be printed by
    // releaseMessages or forgotten by dropMessages: a source is generated
    // while it is parsed, but its messages come after the parse's own.
    void holdMessages() { holding_ = true; }
    void releaseMessages();
    void dropMessages();

    tCodegenOptions options;

    // The records, in the order the file writers use them.
    std::FILE* sourceFile = nullptr;
    std::FILE* headerFile = nullptr;
    tArray<tFunctionDefinition> functions;  // owned, this source
    tArray<tValidFunction> validFunctions;  // owned, this source
    tFunctionDefinition* currentFunction = nullptr;
    tValidFunction* currentValid = nullptr;
    String mainFunction;  // empty while no main function is known
    int validCount = 0;   // code blocks created in the run
    String headerCollector;
    int headerCollect = 0;
    tNameList publics;                        // every source of the run
    tNameList statics;                        // this source
    tArray<tInstruction> staticInitialisers;  // not owned; this source's STATIC lists

    // Program-wide tables.
    tArray<String> publicDefinitions;  // "pObj_Node %s=NULL;\n", owned
    tNameList blockVars;               // filled while one code block is generated
    tArray<String> capturedArgs;       // owned
    int capturing = 0;                 // the captured-argument mode
    int blockFunctions = 0;            // code blocks write their function, not a value holding it
    tConstantPool constants;
    tArray<String> exportedFunctions;            // owned
    tSpool firstSource;                          // the first source's text as written, "%%" already folded
    tArray<String> foreignDeclarations;          // owned; emptied by tMain
    tArray<String> foreignBodies;                // owned; emptied by tMain
    int exitHandlerWritten = 0;                  // __ExitErro is among this source's bodies; cleared by tMain
    std::vector<std::string> moduleDefinitions;  // module definition files begun in this run
    tArray<String> importedPublics;              // owned; filled by the driver
    tArray<String> importedFunctionDefs;         // owned; filled by the driver
    int libraryValidCount = 0;                   // number of the last code block

    // Grows each time a record keeps a pointer into the syntax tree (a
    // function's parameters, a code block, a STATIC list): the statement
    // that holds the node must then live until the source is written.
    unsigned long treeReferences = 0;

    // Calls, assignments and increments written so far; tInOrder tells by it
    // which arguments have effects.
    unsigned long effects = 0;
    // The first _args_ slot that the next call in argument order may use.
    int argSlotBase = 0;

    // Line tracking, per source: the grammar sets lineOffset from a line directive.
    int lineOffset = 0;
    int firstFunctionSeen = 0;
    // The line of the statement being generated, for errors raised below it.
    unsigned int statementLine = 0;

    // The pause after an automatic-public warning, for a person reading the
    // console; the driver sets it to 0 when the output is no terminal.
    int autoPublicPauseMs = 500;

private:
    struct tPendingRead {
        std::string name;
        tFunctionDefinition* function;  // of this source
        unsigned int line;
    };
    struct tPlace {
        std::string name;
        std::string source;
        int line;
        int count;  // arguments of a call
    };
    bool isDeclared(const char* name, const tFunctionDefinition* function) const;
    void reportAt(const tPlace& place, tCodegenMessage message, const char* a, const char* b = "", const char* c = "");
    // printf to the console, or to the held messages.
    void say(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void pause(int milliseconds);

    struct tHeldPause {
        std::size_t at;  // bytes of heldText_ before it
        int milliseconds;
    };
    bool holding_ = false;
    std::string heldText_;
    std::vector<tHeldPause> heldPauses_;

    int errors_ = 0;
    int outsideReported_ = 0;
    std::vector<tPendingRead> pendingReads_;  // this source
    std::vector<tPlace> unresolvedReads_;     // the run: for a later source's PUBLIC
    std::vector<tPlace> calls_;               // the run
    std::unordered_map<std::string, int> parameterCounts_;
    std::unordered_set<std::string> importedNames_;  // publics of an imported library
    std::vector<std::string> lateExterns_;
};

// Frees every String of a list that owns its items.
void freeStrings(tArray<String>& list);
inline void freeStrings(tNameList& list) { list.clear(); }

// A run-time function that programs call by its plain name.
struct tRuntimeCall {
    const char* name;  // upper-cased, as generated code writes it
    int fewest;
    int most;
};
// The run-time's plain-name functions that the name checks know.
const tRuntimeCall* runtimeCalls(int& count);
