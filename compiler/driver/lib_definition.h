// Library-definition files (".dat"): a library built with -genlib leaves one
// beside its first source, and a program built with -implib= reads it to
// continue the library's numbering and to see its publics and functions.
#pragma once

#include "settings.h"

#include <istream>
#include <string>

// Longest line the reader keeps, without its line end.
constexpr std::size_t kMaxDefinitionLine = 255;

// Directory of the first source + the definition name (the first source's
// name in generate mode, the import name in import mode) cut at its first
// '.', + ".dat". Empty outside the library modes.
std::string definitionFilePath(const tBuildSettings& settings);

// Creates (or empties) the file; false when it cannot be created.
bool createDefinitionFile(const std::string& path);

enum class tDefinitionRead { ok, lineTooLong };

// Reads key=value lines into the settings' bases and import lists. A line
// ends at any byte that is not printable; a CR LF pair counts as one end.
tDefinitionRead readDefinition(std::istream& in, tBuildSettings& settings);
