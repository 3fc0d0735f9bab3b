// The phases of a build, as the pipeline calls them. The pipeline owns their
// order and the exit status; each phase does its own printing. tHostPhases
// (host_phases.h) is the real set; tests stand in their own.
#pragma once

#include "settings.h"
#include "toolchains.h"

#include <string>

enum class tStepResult {
    ok,
    sourceFailed,  // a source or input file is missing or wrong: exit status 1
    failed,        // the toolchain failed or is missing: exit status 2
};

// One source on its way through the front end and code generator.
struct tSourceJob {
    std::string source;      // as typed
    std::string ppoPath;     // beside the source
    std::string cppPath;     // beside the source
    std::string moduleName;  // the file name, upper-cased
    int sectionIndex = 0;    // section base + 1-based position
    bool importPending = false;
};

tSourceJob makeSourceJob(const tBuildSettings& settings, std::size_t index);

class tPhases {
public:
    virtual ~tPhases() = default;
    virtual tStepResult writeUserBitmaps() = 0;
    // The registry look-up, and for PALMOS the tool mounts.
    virtual tStepResult prepareInstallDir() = 0;
    virtual tStepResult preprocess(const std::string& source) = 0;
    virtual tStepResult parseAndGenerate(const tSourceJob& job) = 0;
    // The first source's program-wide code, the initialisation function, the
    // context files and the shared header; sets outputs.contextCount.
    virtual tStepResult writeProgram(tBuildOutputs& outputs) = 0;
    virtual tStepResult writePalmFiles(const tBuildOutputs& outputs, int sectionIndex) = 0;
    virtual tStepResult compile(const std::string& cFile) = 0;
    virtual tStepResult resourcesAndLink(const tBuildOutputs& outputs) = 0;
    virtual void restoreMounts() = 0;
    virtual void cleanUp(const tBuildOutputs& outputs) = 0;
};

// The front end and code generator's half of a source: parse the ".ppo" into
// a syntax tree and write the source's C file and header. The driver has
// already checked that the ".ppo" exists. On a parse error returns
// sourceFailed with the engine's message in `error`.
tStepResult generateSource(const tSourceJob& job, const tBuildSettings& settings, std::string& error);

// The code generator's program-wide writers (after the last source).
tStepResult writeProgramFiles(const tBuildSettings& settings, tBuildOutputs& outputs, std::string& error);
