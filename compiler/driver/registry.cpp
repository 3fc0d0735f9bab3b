// The registry file. Its layout, which a user may also edit by hand:
//
//     [HKEY_LOCAL_MACHINE\SOFTWARE\Sardel\ezelta]
//     InstallDir=sz:/opt/zelta
//     [HKEY_LOCAL_MACHINE\SOFTWARE\Cygnus Solutions\Cygwin\mounts v2\/usr/bin]
//     native=sz:/opt/zelta\bin
//     flags=dword:10
//
// A "[key]" line opens a key; "name=sz:text" is a string value and
// "name=dword:n" a number (decimal). Other lines are ignored.
#include "registry.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

const char kString[] = "sz:";
const char kNumber[] = "dword:";

bool hasPrefix(const std::string& text, const char* prefix)
{
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

}  // namespace

std::string tRegistry::defaultPath()
{
    if (const char* path = std::getenv("EZELTA_REGISTRY"); path && *path)
        return path;
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.ezelta-registry";
}

bool tRegistry::load()
{
    keys_.clear();
    std::error_code error;
    if (!std::filesystem::exists(path_, error))
        return !error;
    std::ifstream file(path_, std::ios::binary);
    if (!file)
        return false;
    std::string line;
    std::map<std::string, std::string>* key = nullptr;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            key = &keys_[line.substr(1, line.size() - 2)];
            continue;
        }
        std::size_t eq = line.find('=');
        if (key && eq != std::string::npos && eq > 0)
            (*key)[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return !file.bad();
}

bool tRegistry::save() const
{
    std::string temp = path_ + ".tmp";
    {
        std::ofstream file(temp, std::ios::binary | std::ios::trunc);
        for (const auto& [key, values] : keys_) {
            file << '[' << key << "]\n";
            for (const auto& [name, value] : values)
                file << name << '=' << value << '\n';
        }
        if (!file.flush()) {
            std::remove(temp.c_str());
            return false;
        }
    }
    if (std::rename(temp.c_str(), path_.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

std::optional<std::string> tRegistry::readString(const std::string& key, const std::string& name) const
{
    auto k = keys_.find(key);
    if (k == keys_.end())
        return std::nullopt;
    auto v = k->second.find(name);
    if (v == k->second.end() || !hasPrefix(v->second, kString))
        return std::nullopt;
    return v->second.substr(sizeof kString - 1);
}

std::optional<std::uint32_t> tRegistry::readNumber(const std::string& key, const std::string& name) const
{
    auto k = keys_.find(key);
    if (k == keys_.end())
        return std::nullopt;
    auto v = k->second.find(name);
    if (v == k->second.end() || !hasPrefix(v->second, kNumber))
        return std::nullopt;
    return static_cast<std::uint32_t>(std::strtoul(v->second.c_str() + sizeof kNumber - 1, nullptr, 10));
}

bool tRegistry::writeString(const std::string& key, const std::string& name, const std::string& value)
{
    if (value.find_first_of("\r\n") != std::string::npos)
        return false;
    keys_[key][name] = kString + value;
    return true;
}

void tRegistry::writeNumber(const std::string& key, const std::string& name, std::uint32_t value)
{
    keys_[key][name] = kNumber + std::to_string(value);
}
