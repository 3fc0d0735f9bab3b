// The registry file: read whole, changed in memory, written back whole.
#include "registry_file.h"

#include <stdio.h>
#include <strings.h>

#include <fstream>

#include "core.h"
#include "host.h"

namespace device {

namespace {

bool sameName(const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) == 0; }

}  // namespace

std::string registryPath() {
  const char* path = core::host::environment("ZELTA_REGISTRY");
  if (path && *path) return path;
  return core::appDirectory() + "/zelta.reg";
}

bool RegistryFile::load(const std::string& path) {
  keys_.clear();
  if (!core::host::fileExists(path)) return true;
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  RegistryKey* key = nullptr;
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      keys_.push_back(RegistryKey{line.substr(1, line.size() - 2), {}});
      key = &keys_.back();
      continue;
    }
    const size_t eq = line.find('=');
    if (key && eq != std::string::npos && eq > 0) key->values.emplace_back(line.substr(0, eq), line.substr(eq + 1));
  }
  return !file.bad();
}

bool RegistryFile::save(const std::string& path) const {
  const std::string temp = path + ".tmp";
  {
    std::ofstream file(temp, std::ios::binary | std::ios::trunc);
    for (const RegistryKey& key : keys_) {
      file << '[' << key.name << "]\n";
      for (const auto& [name, stored] : key.values) file << name << '=' << stored << '\n';
    }
    if (!file.flush()) {
      core::host::removeFile(temp);
      return false;
    }
  }
  if (!core::host::renameFile(temp, path)) {
    core::host::removeFile(temp);
    return false;
  }
  return true;
}

const std::string* RegistryFile::find(const std::string& key, const std::string& name) const {
  for (const RegistryKey& k : keys_) {
    if (!sameName(k.name, key)) continue;
    for (const auto& [valueName, stored] : k.values) {
      if (sameName(valueName, name)) return &stored;
    }
  }
  return nullptr;
}

void RegistryFile::set(const std::string& key, const std::string& name, const std::string& stored) {
  RegistryKey* target = nullptr;
  for (RegistryKey& k : keys_) {
    if (!target && sameName(k.name, key)) target = &k;
  }
  if (!target) {
    keys_.push_back(RegistryKey{key, {}});
    target = &keys_.back();
  }
  for (auto& [valueName, text] : target->values) {
    if (sameName(valueName, name)) {
      text = stored;
      return;
    }
  }
  target->values.emplace_back(name, stored);
}

bool storedText(const std::string& text, std::string& stored) {
  if (text.find_first_of("\r\n") != std::string::npos) return false;
  stored = "sz:" + text;
  return true;
}

std::string storedNumber(uint32_t value) { return "dword:" + std::to_string(value); }

}  // namespace device
