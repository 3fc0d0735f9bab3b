// The install directory and the tool mount table of the PALMOS toolchain.
#include "mounts.h"

const char kInstallKey[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Sardel\\ezelta";
const char kMountKeyPrefix[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Cygnus Solutions\\Cygwin\\mounts v2\\";

namespace {

struct tMount {
    const char* key;
    const char* suffix;  // appended to the install directory
    std::uint32_t flags;
};

// ORDER mounts: set and restore walk this table the same way.
const tMount kMounts[] = {
    {"/", "", 8}, {"/PalmDev", "", 0}, {"/usr/bin", "\\bin", 10}, {"/usr/lib", "\\lib", 10}, {"/prc-tools", "", 0},
};

std::string mountKey(const tMount& mount) { return std::string(kMountKeyPrefix) + mount.key; }

}  // namespace

std::optional<std::string> readInstallDir(const tRegistry& registry)
{
    return registry.readString(kInstallKey, "InstallDir");
}

bool tToolMounts::set(tRegistry& registry, const std::string& installDir)
{
    saved_.clear();
    bool ok = true;
    for (const tMount& mount : kMounts) {
        saved_.push_back(registry.readString(mountKey(mount), "native").value_or(""));
        ok &= registry.writeString(mountKey(mount), "native", installDir + mount.suffix);
        registry.writeNumber(mountKey(mount), "flags", mount.flags);
    }
    return ok && registry.save();
}

bool tToolMounts::restore(tRegistry& registry)
{
    if (saved_.empty())
        return true;
    for (std::size_t i = 0; i < saved_.size(); ++i) {
        if (saved_[i].empty())
            continue;
        registry.writeString(mountKey(kMounts[i]), "native", saved_[i]);
        if (kMounts[i].flags == 10)
            registry.writeNumber(mountKey(kMounts[i]), "flags", 10);
    }
    saved_.clear();
    return registry.save();
}
