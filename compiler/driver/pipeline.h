// The build, from the settings of the argument pass to the exit status.
#pragma once

#include "phases.h"
#include "settings.h"

#include <ostream>

// Exit statuses of ezelta.
constexpr int kExitBuilt = 0;
constexpr int kExitSourceError = 1;
constexpr int kExitToolchainError = 2;
constexpr int kExitUsage = 255;

// Runs the build after the argument pass and returns the exit status. Every
// stop after the install directory is known still restores the tool mounts
// and, unless -dirty, cleans up.
int runPipeline(tBuildSettings& settings, tPhases& phases, std::ostream& out);
