// The phases as a real run performs them.
#include "host_phases.h"

#include "cleanup.h"
#include "messages.h"
#include "paths.h"
#include "resources.h"
#include "resources_palm.h"

#include <cstdio>
#include <fstream>

namespace {

tStepResult resultOf(bool ok) { return ok ? tStepResult::ok : tStepResult::failed; }

}  // namespace

tHostPhases::tHostPhases(tBuildSettings& settings, tCommandRunner& runner, tRegistry& registry, std::ostream& out)
    : settings_(settings),
      runner_(runner),
      registry_(registry),
      out_(out),
      toolchain_(settings, runner, out),
      binsBefore_(binFiles())
{
}

tStepResult tHostPhases::writeUserBitmaps()
{
    switch (::writeUserBitmaps(settings_)) {
    case tBitmapResult::ok: return tStepResult::ok;
    case tBitmapResult::listMissing:
        out_ << message(tMessage::sourceMissing, settings_.bitmapListFile);
        return tStepResult::sourceFailed;
    case tBitmapResult::scriptNotCreated: break;
    }
    out_ << message(tMessage::errorCreating, settings_.sources.front());
    return tStepResult::failed;
}

tStepResult tHostPhases::prepareInstallDir()
{
    std::optional<std::string> dir;
    if (registry_.load())
        dir = readInstallDir(registry_);
    if (!dir) {
        out_ << message(tMessage::invalidRegistryKeys);
        return tStepResult::failed;
    }
    settings_.installDir = *dir;
    if (settings_.target == tTarget::PALMOS && !mounts_.set(registry_, *dir)) {
        out_ << message(tMessage::errorCreating, registry_.path());
        return tStepResult::failed;
    }
    return tStepResult::ok;
}

tStepResult tHostPhases::preprocess(const std::string& source)
{
    if (toolchain_.preprocess(source))
        return tStepResult::ok;
    // Errors in the source itself, which zelta16 has reported with their places.
    return toolchain_.preprocessorStatus() == 1 ? tStepResult::sourceFailed : tStepResult::failed;
}

tStepResult tHostPhases::parseAndGenerate(const tSourceJob& job)
{
    out_ << message(tMessage::generating, job.cppPath);
    std::fstream ppo(job.ppoPath, std::ios::in | std::ios::out | std::ios::binary | std::ios::ate);
    if (!ppo) {
        out_ << message(tMessage::ppoMissing, job.ppoPath);
        return tStepResult::sourceFailed;
    }
    // The scanner wants every line ended, the last one too.
    ppo << '\n';
    ppo.close();
    std::string error;
    tStepResult result = generateSource(job, settings_, error);
    out_ << error;
    return result;
}

tStepResult tHostPhases::writeProgram(tBuildOutputs& outputs)
{
    std::string error;
    tStepResult result = writeProgramFiles(settings_, outputs, error);
    out_ << error;
    toolchain_.setSharedLibrary(buildsSharedLibrary(settings_, outputs));
    return result;
}

tStepResult tHostPhases::writePalmFiles(const tBuildOutputs& outputs, int sectionIndex)
{
    out_ << message(tMessage::makingDefFile);
    if (!writePalmDefinition(settings_, sectionIndex, outputs.contextCount)) {
        out_ << message(tMessage::errorCreating, withExtension(settings_.sources.front(), "def"));
        return tStepResult::failed;
    }
    out_ << message(tMessage::madeDefFile);
    std::string unwritten = writePalmResourceFiles(settings_);
    if (!unwritten.empty()) {
        out_ << message(tMessage::errorCreating, unwritten);
        return tStepResult::failed;
    }
    out_ << message(tMessage::compilingPalmResources);
    std::string script = palmScriptPath(settings_);
    std::string tool = formatText("%s%sbin%spilrc", settings_.installDir.c_str(), kToolSeparator, kToolSeparator);
    int code = runner_.run(quoteArgument(tool) + " -q " + quoteArgument(script), tChildOutput::inherit);
    std::remove(script.c_str());
    if (code == kNotStarted)
        out_ << message(tMessage::toolNotStarted, tool);
    return code == 0 ? tStepResult::ok : tStepResult::failed;
}

// The host build's headers and library lie beside ezelta. A missing one is
// reported as such, so that a broken install is not taken for a fault of the
// generated code.
bool tHostPhases::hostRuntimePresent(const char* file)
{
    if (settings_.target != tTarget::GCCDEBUG)
        return true;
    std::string path = settings_.desktopInstallDir + "/" + file;
    if (std::ifstream(path))
        return true;
    out_ << message(tMessage::hostRuntimeMissing, path);
    return false;
}

tStepResult tHostPhases::compile(const std::string& cFile)
{
    if (!hostRuntimePresent("include/zeltaobjs.h"))
        return tStepResult::failed;
    return resultOf(toolchain_.compile(cFile));
}

tStepResult tHostPhases::resourcesAndLink(const tBuildOutputs& outputs)
{
    if (settings_.libraryMode != tLibraryMode::generate && !hostRuntimePresent("lib/libzeltace.so"))
        return tStepResult::failed;
    return resultOf(toolchain_.resourcesAndLink(outputs));
}

void tHostPhases::restoreMounts()
{
    // A registry we cannot write back has nothing more we can do for it.
    mounts_.restore(registry_);
}

void tHostPhases::cleanUp(const tBuildOutputs& outputs) { ::cleanUp(settings_, outputs, binsBefore_); }
