// The pipeline, in its fixed order:
//
//   bitmaps -> library definition -> sources exist? -> install dir / mounts
//   -> for each source: preprocess, parse and generate
//   -> program-wide files -> Palm files -> compile each file -> resources and link
//   -> restore mounts -> clean-up
//
// Any failed step jumps to the mount restore and the clean-up; the first
// failure decides the exit status.
#include "pipeline.h"

#include "lib_definition.h"
#include "messages.h"
#include "paths.h"
#include "process.h"

#include <fstream>

namespace {

int statusOf(tStepResult result)
{
    switch (result) {
    case tStepResult::ok: return kExitBuilt;
    case tStepResult::sourceFailed: return kExitSourceError;
    case tStepResult::failed: break;
    }
    return kExitToolchainError;
}

tStepResult prepareLibraryDefinition(tBuildSettings& settings, std::ostream& out)
{
    settings.definitionPath = definitionFilePath(settings);
    if (settings.libraryMode == tLibraryMode::generate) {
        if (createDefinitionFile(settings.definitionPath))
            return tStepResult::ok;
        out << message(tMessage::errorCreating, settings.definitionPath);
        return tStepResult::failed;
    }
    std::ifstream file(settings.definitionPath, std::ios::binary);
    if (!file) {
        out << message(tMessage::definitionMissing, settings.definitionPath);
        return tStepResult::sourceFailed;
    }
    if (readDefinition(file, settings) != tDefinitionRead::ok) {
        out << message(tMessage::definitionLineTooLong, settings.definitionPath, static_cast<int>(kMaxDefinitionLine));
        return tStepResult::sourceFailed;
    }
    return tStepResult::ok;
}

tStepResult checkSources(const tBuildSettings& settings, std::ostream& out)
{
    for (const std::string& source : settings.sources) {
        if (!std::ifstream(sourceWithExtension(source))) {
            out << message(tMessage::sourceMissing, source);
            return tStepResult::sourceFailed;
        }
    }
    return tStepResult::ok;
}

// The steps from the bitmaps to the link; returns at the first failure.
tStepResult build(tBuildSettings& settings, tPhases& phases, tBuildOutputs& outputs, std::ostream& out,
                  bool& mountsRestored)
{
    tStepResult r = tStepResult::ok;
    if (!settings.bitmapListFile.empty() && (r = phases.writeUserBitmaps()) != tStepResult::ok)
        return r;
    if (isDesktopTarget(settings.target))
        settings.desktopInstallDir = executableDirectory();
    if (settings.libraryMode != tLibraryMode::none && (r = prepareLibraryDefinition(settings, out)) != tStepResult::ok)
        return r;
    if ((r = checkSources(settings, out)) != tStepResult::ok)
        return r;
    if (!isDesktopTarget(settings.target) && (r = phases.prepareInstallDir()) != tStepResult::ok)
        return r;

    int sectionIndex = settings.sectionBase;
    for (std::size_t i = 0; i < settings.sources.size(); ++i) {
        tSourceJob job = makeSourceJob(settings, i);
        sectionIndex = job.sectionIndex;
        if ((r = phases.preprocess(settings.sources[i])) != tStepResult::ok)
            return r;
        if ((r = phases.parseAndGenerate(job)) != tStepResult::ok)
            return r;
        outputs.moduleName = job.moduleName;
    }
    if ((r = phases.writeProgram(outputs)) != tStepResult::ok)
        return r;
    if (settings.target == tTarget::PALMOS && (r = phases.writePalmFiles(outputs, sectionIndex)) != tStepResult::ok) {
        phases.restoreMounts();
        mountsRestored = true;
        return r;
    }
    for (const std::string& source : settings.sources)
        if ((r = phases.compile(withExtension(source, "cpp"))) != tStepResult::ok)
            return r;
    for (int k = 1; k <= outputs.contextCount; ++k)
        if ((r = phases.compile(contextFile(settings, k, "cpp"))) != tStepResult::ok)
            return r;
    return phases.resourcesAndLink(outputs);
}

}  // namespace

tSourceJob makeSourceJob(const tBuildSettings& settings, std::size_t index)
{
    tSourceJob job;
    job.source = settings.sources[index];
    job.ppoPath = withExtension(job.source, "ppo");
    job.cppPath = withExtension(job.source, "cpp");
    job.moduleName = upperCase(splitPath(job.source).name);
    job.sectionIndex = settings.sectionBase + static_cast<int>(index) + 1;
    // Import mode: set for every source but the last, for the code generator.
    job.importPending = settings.libraryMode == tLibraryMode::import && index + 1 < settings.sources.size();
    return job;
}

int runPipeline(tBuildSettings& settings, tPhases& phases, std::ostream& out)
{
    tBuildOutputs outputs;
    bool mountsRestored = false;
    int status = statusOf(build(settings, phases, outputs, out, mountsRestored));
    if (!isDesktopTarget(settings.target) && !mountsRestored)
        phases.restoreMounts();
    if (settings.clean)
        phases.cleanUp(outputs);
    return status;
}
