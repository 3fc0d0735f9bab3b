// Where the driver hands a source to the front end and code generator. These
// two functions are the whole contract: they copy what the engines need out
// of the build settings and report back in the driver's terms.
#include "phases.h"

#include "../frontend/parse_source.h"

#include <unistd.h>

namespace {

// The code generator's program-wide records live for the whole run.
tProgramWriter& runWriter()
{
    static tProgram program;
    static tProgramWriter writer(program);
    return writer;
}

void describeSource(tCodegenOptions& options, const tBuildSettings& settings, const tSourceJob& job)
{
    options.target = settings.target;
    // It names the procedure of the top-level statements.
    options.moduleName = cIdentifier(job.moduleName);
    options.sourcePath = job.source;
    options.headerName = settings.headerName;
    options.importName = settings.importName;
    options.creatorId = settings.creatorId;
    options.constantBase = settings.constantBase;
    options.contextBase = settings.contextBase;
    options.validBase = settings.validBase;
    options.sectionIndex = job.sectionIndex;
    options.libraryMode = static_cast<int>(settings.libraryMode);
    options.importPending = job.importPending;
    options.lineTracking = settings.debug;
    options.fullDebug = settings.fullDebug;
}

// The imported library's publics and function definitions, once per run.
void importDefinitions(tProgram& program, const tBuildSettings& settings)
{
    for (const std::string& name : settings.importedPublics)
        program.importedPublics.add(new String(name.c_str()));
    for (const std::string& definition : settings.importedFunctionDefs)
        program.importedFunctionDefs.add(new String(definition.c_str()));
    if (!settings.mainFunction.empty())
        program.mainFunction.assign(settings.mainFunction.c_str());
}

}  // namespace

tStepResult generateSource(const tSourceJob& job, const tBuildSettings& settings, std::string& error)
{
    tProgramWriter& writer = runWriter();
    tProgram& program = writer.program();
    if (writer.sources().empty()) {
        program.activate();
        // The pause lets a person read the warning; a log or a pipe needs none.
        if (!isatty(STDOUT_FILENO))
            program.autoPublicPauseMs = 0;
        writer.definitionPath = settings.definitionPath;
        importDefinitions(program, settings);
    }
    describeSource(program.options, settings, job);
    return parseAndGenerate(writer, {job.source, job.ppoPath, job.cppPath}, error) ? tStepResult::ok
                                                                                   : tStepResult::sourceFailed;
}

tStepResult writeProgramFiles(const tBuildSettings&, tBuildOutputs& outputs, std::string&)
{
    tProgramWriter& writer = runWriter();
    if (!writer.program().checkProgramNames())
        return tStepResult::sourceFailed;
    bool ok = writer.writeFirstSource();
    ok = writer.writeInitAndContexts(outputs.contextCount) && ok;
    ok = writer.writeSharedHeader(outputs.contextCount) && ok;
    outputs.moduleDefinitions = writer.program().moduleDefinitions;
    return ok ? tStepResult::ok : tStepResult::failed;
}
