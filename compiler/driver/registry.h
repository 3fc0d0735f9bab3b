// The compiler's registry on this host: one text file of keys and values,
// standing in for the machine registry the device toolchains expect. The
// file is read whole, changed in memory and written back whole.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

class tRegistry {
public:
    explicit tRegistry(std::string path) : path_(std::move(path)) {}

    // $EZELTA_REGISTRY, else "$HOME/.ezelta-registry".
    static std::string defaultPath();

    // A missing file is an empty registry; false only when it exists and
    // cannot be read.
    bool load();
    // Writes through a temporary file and a rename, so a crash never leaves
    // half a registry; false when it cannot be written.
    bool save() const;

    std::optional<std::string> readString(const std::string& key, const std::string& name) const;
    std::optional<std::uint32_t> readNumber(const std::string& key, const std::string& name) const;
    // Values hold no line ends; such a value is refused (false).
    bool writeString(const std::string& key, const std::string& name, const std::string& value);
    void writeNumber(const std::string& key, const std::string& name, std::uint32_t value);

    const std::string& path() const { return path_; }

private:
    std::string path_;
    // key -> value name -> stored text ("sz:..." or "dword:...")
    std::map<std::string, std::map<std::string, std::string>> keys_;
};
