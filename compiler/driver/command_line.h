// The argument pass: options and sources, left to right, into the build
// settings. Options match on a fixed number of leading characters, case
// blind, in table order, so "-cpu=ARMV4I" is ARMV4 and "-dfoo" a define.
#pragma once

#include "settings.h"

#include <ostream>
#include <string>
#include <vector>

enum class tArgsResult { ok, usage };

void printBanner(std::ostream& out);
void printUsage(std::ostream& out);

// Reads the arguments after the program name. On a bad option prints its
// message and the usage and returns usage; also returns usage (after
// printing it) when fewer than two arguments or no accepted source remain.
tArgsResult readArguments(const std::vector<std::string>& args, tBuildSettings& settings, std::ostream& out);
