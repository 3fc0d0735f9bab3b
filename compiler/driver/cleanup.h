// The clean-up at the end of a run: the intermediate files of every source,
// the scripts and support files of the run, and the context files.
#pragma once

#include "settings.h"
#include "toolchains.h"

#include <set>
#include <string>
#include <vector>

// Every intermediate file the run may have left, honouring -dontclean; the
// tools' "*.bin" files are not in it.
std::vector<std::string> cleanupFiles(const tBuildSettings& settings, const tBuildOutputs& outputs);

// The "*.bin" files in the current directory.
std::set<std::string> binFiles();

// Deletes the files above, and the "*.bin" files of the current directory
// that were not there when the run began; errors are ignored.
void cleanUp(const tBuildSettings& settings, const tBuildOutputs& outputs, const std::set<std::string>& binsBefore);
