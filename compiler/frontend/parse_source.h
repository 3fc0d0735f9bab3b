// Parse and generate one source: scan and parse its ".ppo" with the built-in
// tables, let the tree generate into the program, write the source's C file
// and header, and free the tree. The pipeline calls this once per source,
// in command-line order, then the program-wide writers of tProgramWriter.
#pragma once

#include <string>

#include "../codegen/emit_program.h"
#include "ss_exception.h"

struct tSourceFiles {
    std::string source;   // as typed on the command line
    std::string ppoPath;  // the preprocessed text
    std::string cppPath;  // the C file it becomes
};

// Prints "Parsing", "Generating C source" and "WriteSource" as it goes. The
// program's options must already describe the source. On a syntax error or a
// rejected construct returns false with the message and its place, ready to
// print, in `error`; on a construct the generator could not compile (it has
// printed why) returns false with `error` empty.
bool parseAndGenerate(tProgramWriter& writer, const tSourceFiles& files, std::string& error);

// The message of a failed parse as the driver prints it: the engine's text
// on a line of its own, then the source file, line and offending token.
std::string parseErrorText(const SSException& e, const std::string& ppoPath, const std::string& sourcePath);
