// What code generation needs to know about the build and the source being
// compiled. The driver fills these before each source; codegen never reads
// the driver's own settings.
#pragma once

#include "targets.h"

#include <string>

namespace codegen {

constexpr int kLibraryNone = 0;
constexpr int kLibraryGenerate = 1;
constexpr int kLibraryImport = 2;

}  // namespace codegen

struct tCodegenOptions {
    tTarget target = tTarget::PALMOS;
    std::string moduleName;  // upper-cased file name of the source, no directory or extension
    std::string sourcePath;  // as typed; diagnostics name it
    std::string headerName = "zelta.h";
    std::string importName;
    std::string creatorId;  // empty when none was given

    // Numbering continues from these when a library definition was imported.
    int constantBase = 0;
    int contextBase = 0;
    int validBase = 0;
    int sectionIndex = 1;  // section base + 1-based index of the source

    int libraryMode = codegen::kLibraryNone;
    bool importPending = false;
    bool lineTracking = false;  // any -g option
    bool fullDebug = false;     // -gFULL
    bool scanner = false;
};
