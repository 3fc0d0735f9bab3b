// The program's file writers: once a source's tree has generated its body
// fragments, writeSource turns the records of tProgram into that source's C
// file and header; after the last source, writeFirstSource,
// writeInitAndContexts and writeSharedHeader finish the program.
//
// The first source of a run is never written while it is processed: its
// text is buffered in tProgram::firstSource, because the public definitions
// of every later source must go into it, at the mark set while it was
// written. Lines of the first source end in LF, those of every other file
// in CR LF, and every piece passes through printf formatting ("%%" -> "%").
#pragma once

#include <string>
#include <vector>

#include "program.h"

class tProgramWriter {
public:
    explicit tProgramWriter(tProgram& program) : program_(program) {}

    // The library-definition file (".dat") of library modes 1 and 2.
    std::string definitionPath;

    tProgram& program() { return program_; }

    // Generates a source's tree into the program's records. Statements
    // before the source's first FUNCTION or PROCEDURE form a procedure
    // named after the source (the module name), which is the main function
    // when no other is known. False, with the reason printed, when that
    // procedure would clash with a function of the same name.
    bool generateTree(tInstruction& root);
    // The same one statement of the source's outermost list at a time, for
    // a tree that is generated while it is parsed: beginTree, then each
    // statement in order (null ones included), then finishTree.
    void beginTree();
    void generateStatement(tInstruction* statement);
    bool finishTree();

    // Writes the source's ".cpp" and ".hpp" beside it and frees the
    // source's records. False when a file could not be created (reported
    // with "Error creating %s\n"); the other writes still go ahead.
    bool writeSource(const std::string& sourcePath);

    // A: the first source's buffered text with the public definitions.
    bool writeFirstSource();
    // B: __initStatics (or __initPE) at the end of the first source's file,
    // then the context files; contextCount receives their number.
    bool writeInitAndContexts(int& contextCount);
    // C: the shared header named by the options.
    bool writeSharedHeader(int contextCount);

    // The sources written so far, as typed.
    const std::vector<std::string>& sources() const { return sources_; }
    bool entryWritten() const { return entryWritten_; }

private:
    // Steps of writeSource, in order.
    void writeIncludes();
    void writePrototypes(const std::string& initName);
    void writeStatics();
    void writePublics();
    void writeEntryPoint();
    void writeCodeBlocks();
    void writeFunctions();
    // initName: the source's name as an identifier; moduleFile as written.
    void writeInitFunction(const std::string& initName, const std::string& moduleFile);
    void writeForeignInterface();

    void writeFunctionBody(tFunctionDefinition& function);
    // A code block's whole function text; generating its expression may
    // create further blocks.
    std::string blockText(tValidFunction& block);
    // The function's prototype as written to the header (';' included).
    std::string prototypeOf(tFunctionDefinition& function);
    void appendDefinitionLine(const char* key, const char* value);

    tProgram& program_;
    std::vector<std::string> sources_;
    std::size_t publicMark_ = 0;               // buffered first-source bytes before the public definitions
    bool entryWritten_ = false;                // entry point, or MAIN_FUNC= in library mode 1
    bool importsWritten_ = false;              // imported function definitions copied to a header
    tFunctionDefinition* implicit_ = nullptr;  // the module procedure of the tree being generated
    int publicsInitialised_ = 0;               // publics set to NIL by earlier sources' __init_
};

// Path pieces as the writers use them: "dir/app.prg" has the stem
// "dir/app" and the file name "app".
std::string pathStem(const std::string& path);
std::string pathFileName(const std::string& path);
std::string pathDirectory(const std::string& path);  // "dir/", or "" for none

// A file name as a C++ identifier, for the names made from a source's name
// (its __init_ function, the procedure of its top-level statements): each
// character that no identifier may hold becomes '_', and a leading digit
// gets a '_' before it. "my-prog" gives "my_prog".
std::string cIdentifier(const std::string& name);

// A string constant's text as the body of a C string literal. Backslashes
// keep their C meaning; a double quote that would end the literal early and
// a trailing lone backslash are escaped, so every constant compiles.
std::string cStringBody(const char* text);
