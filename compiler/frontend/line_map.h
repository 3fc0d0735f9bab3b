// Maps a .ppo line back to the source through the preprocessor's line
// directives (#line <n> "<file>": the next line is line n of that file), and
// words the place of a syntax error for the driver's second error line.
#pragma once

#include "ss_exception.h"

#include <string>

struct tSourcePlace {
    std::string file;  // empty when no directive precedes the line
    long line = 0;
};

// The source place of line `ppoLine` (from 1) of the .ppo text.
tSourcePlace mapPpoLine(const std::string& ppoText, long ppoLine);
// The same for a .ppo file; the .ppo's own line when it cannot be read.
tSourcePlace mapPpoFileLine(const std::string& ppoPath, long ppoLine);

// "<file>(<line>): near "<token>"" for an exception that knows its place,
// "<file>: ..." otherwise; sourcePath names the file when no directive does.
std::string describeErrorPlace(const SSException& e, const std::string& ppoPath, const std::string& sourcePath);
