// The real phases: files in the current directory, the registry file and
// the target's tools run through a tCommandRunner.
#pragma once

#include "mounts.h"
#include "phases.h"
#include "process.h"
#include "registry.h"
#include "toolchains.h"

#include <ostream>
#include <set>

class tHostPhases : public tPhases {
public:
    tHostPhases(tBuildSettings& settings, tCommandRunner& runner, tRegistry& registry, std::ostream& out);

    tStepResult writeUserBitmaps() override;
    tStepResult prepareInstallDir() override;
    tStepResult preprocess(const std::string& source) override;
    tStepResult parseAndGenerate(const tSourceJob& job) override;
    tStepResult writeProgram(tBuildOutputs& outputs) override;
    tStepResult writePalmFiles(const tBuildOutputs& outputs, int sectionIndex) override;
    tStepResult compile(const std::string& cFile) override;
    tStepResult resourcesAndLink(const tBuildOutputs& outputs) override;
    void restoreMounts() override;
    void cleanUp(const tBuildOutputs& outputs) override;

private:
    bool hostRuntimePresent(const char* file);

    tBuildSettings& settings_;
    tCommandRunner& runner_;
    tRegistry& registry_;
    std::ostream& out_;
    tToolchain toolchain_;
    tToolMounts mounts_;
    std::set<std::string> binsBefore_;
};
