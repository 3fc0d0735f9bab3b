// Build support files: "defines.ch" for the preprocessor, the user bitmap
// entries of the resource script, the icon of the desktop targets and the
// Palm segment definition.
#pragma once

#include "settings.h"

#include <string>
#include <vector>

// "#include \"ezelta.ch\"" then one "#define" per entry, lines ended LF CR.
bool writeDefinesFile(const std::string& path, const std::vector<std::string>& defines);

enum class tBitmapResult { ok, listMissing, scriptNotCreated };

// Reads the -bmp= list (one bitmap path a line), writes one entry per bitmap
// into a new resource script beside the first source (".rcp" for PALMOS,
// ".rc" otherwise), numbered from 6000, and adds " NAME    id" to the
// define list so that programs see each bitmap name as a constant.
tBitmapResult writeUserBitmaps(tBuildSettings& settings);

// The symbolic name of a bitmap file: no drive, directory or extension, upper case.
std::string bitmapName(const std::string& path);

// The compiler's own icon (a 32x32 16-colour .ico).
bool writeDefaultIcon(const std::string& path);

// Appends the icon entry to the resource script, creating it when needed.
bool appendIconLine(const std::string& script, const std::string& icon);

// The Palm application name: -name=, else the source name in lower case
// with a leading letter capitalised.
std::string palmAppName(const tBuildSettings& settings);

// Writes the first source's ".def" segment definition: one code section per
// source up to sectionIndex and one per context file.
bool writePalmDefinition(const tBuildSettings& settings, int sectionIndex, int contextCount);
