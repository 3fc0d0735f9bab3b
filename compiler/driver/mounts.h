// Where the device toolchains live: the install directory from the registry,
// and for PALMOS the five tool mounts, pointed at it for the run and put back
// afterwards.
#pragma once

#include "registry.h"

#include <string>
#include <vector>

extern const char kInstallKey[];      // holds "InstallDir"
extern const char kMountKeyPrefix[];  // + "/", "/PalmDev", ...

// The registered install directory, or nothing when the key or value is missing.
std::optional<std::string> readInstallDir(const tRegistry& registry);

class tToolMounts {
public:
    // Saves each mount's "native" text, then points it (and its flags) at the
    // install directory, and saves the registry. False when it cannot be saved.
    bool set(tRegistry& registry, const std::string& installDir);
    // Puts back every mount that had a "native" text before set(); one that
    // had none keeps the install directory. Does nothing before set().
    bool restore(tRegistry& registry);

private:
    std::vector<std::string> saved_;  // in mount order; empty when there was none
};
