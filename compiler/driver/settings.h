// Build settings: the one record per run that the command line fills and the
// rest of the driver reads. Everything here is fixed after the argument pass,
// except the install directories (looked up once) and the bases that a
// library-definition file supplies in import mode.
#pragma once

#include "codegen/targets.h"

#include <string>
#include <vector>

// Code 5 has no name; the CE templates never see it.
enum class tCpu {
    SH3 = 0,
    ARM = 1,
    MIPS = 2,
    x86 = 3,
    ARMV4 = 4,
    ARMV4ISRT = 6,
    ARMV4IPPC = 7,
    ARMV4ISTD = 8,
    ARMV4IPRO = 9
};

enum class tSdk { PALM35 = 0, PALM5 = 2 };

enum class tLibraryMode { none = 0, generate = 1, import = 2 };

// The longest -version= text the link step accepts.
constexpr std::size_t kMaxVersionLength = 63;

struct tBuildSettings {
    tTarget target = tTarget::PALMOS;
    tCpu cpu = tCpu::ARM;
    tSdk sdk = tSdk::PALM5;
    std::vector<std::string> sources;  // as typed, in command-line order
    std::vector<std::string> defines;  // -d, bitmap names, then the target define

    // Empty means "not given" for each of these.
    std::string iconFile;
    std::string creatorId;
    std::string version;
    std::string appName;
    std::string bitmapListFile;

    std::string category = "Sardel";
    std::string headerName = "zelta.h";
    tLibraryMode libraryMode = tLibraryMode::none;
    std::string importName;
    std::string definitionPath;

    bool clean = true;
    bool keepGeneratedC = false;
    bool debug = false;
    bool fullDebug = false;

    std::string installDir;         // registry, for the device targets
    std::string desktopInstallDir;  // directory of ezelta itself, for the desktop targets

    // Import mode: where this library's numbering continues from.
    int constantBase = 0;
    int contextBase = 0;
    int sectionBase = 0;
    int validBase = 0;
    std::vector<std::string> importedPublics;
    std::vector<std::string> importedFunctionDefs;
    std::string mainFunction;
};

// WIN32EXE, WIN32DLL and GCCDEBUG take their tools from beside the compiler
// and never touch the registry or the tool mounts.
bool isDesktopTarget(tTarget target);

// The name the CPU templates and the LIB path use ("ARMV4I" variants included);
// empty for code 5.
const char* cpuName(tCpu cpu);

// The directory the target's tools and headers live under.
const std::string& baseDirectory(const tBuildSettings& settings);
