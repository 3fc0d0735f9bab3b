// The Palm resources of a PALMOS build: the resource header "resincl.h", the
// font "passfont.pfn", the arrow and icon pictures (".pbitm") and the
// resource script "<first source>.rcp" that pilrc compiles. The script's
// string tables carry the run-time's own message lists, read from the same
// tables the run-time is built from.
#pragma once

#include "settings.h"

#include <string>

// One built-in bitmap: its define, resource id and file under the install
// directory's bmp folder.
struct tPalmBitmap {
    const char* name;
    int id;
    const char* file;
};

// The built-in bitmaps in the script's order.
extern const tPalmBitmap kPalmBitmaps[];
extern const int kPalmBitmapCount;

// The resource script: beside the first source, where the user bitmaps went.
std::string palmScriptPath(const tBuildSettings& settings);

// The texts of each file, exactly as written. The script's text is what is
// appended after the user bitmaps (when there are any).
std::string palmIncludeText();
std::string palmFontText();
std::string palmScriptText(const tBuildSettings& settings);
std::string palmArrowText(bool left);
std::string palmDefaultIconText();

// Writes every file into the current directory (the script beside the first
// source). Returns "" when all were written, else the path of the first one
// that could not be.
std::string writePalmResourceFiles(const tBuildSettings& settings);

// Our texts are UTF-8; the device reads Latin-1. Characters beyond Latin-1
// are kept as they are.
std::string latin1Text(const std::string& utf8);
