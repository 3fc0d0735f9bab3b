// ezelta: the banner, the argument pass, then the build.
#include "command_line.h"
#include "host_phases.h"
#include "messages.h"
#include "pipeline.h"
#include "process.h"
#include "registry.h"

#include <iostream>
#include <new>

int main(int argc, char** argv)
{
    try {
        printBanner(std::cout);
        // The tool mounts set for a run must always be put back.
        ignoreInterrupts();
        tBuildSettings settings;
        if (readArguments(std::vector<std::string>(argv + 1, argv + argc), settings, std::cout) == tArgsResult::usage)
            return kExitUsage;
        tHostRunner runner;
        tRegistry registry(tRegistry::defaultPath());
        tHostPhases phases(settings, runner, registry, std::cout);
        return runPipeline(settings, phases, std::cout);
    } catch (const std::bad_alloc&) {
        std::cout << message(tMessage::outOfMemory) << std::endl;
        return kExitSourceError;
    }
}
