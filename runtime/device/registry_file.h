// The run-time's registry file, where __RegGetData and __RegSetData keep
// their values. Its layout is the compiler's registry file's:
//
//     [HKEY_CURRENT_USER\Software\Shop]
//     Server=sz:10.0.0.5
//     Port=dword:5000
//
// A "[key]" line opens a key; "name=sz:text" is a text value and
// "name=dword:n" a number (decimal, 0 to 4294967295). Keys and value names
// are found whatever their letter case. Other lines are dropped when the
// file is written again.
#ifndef ZELTA_DEVICE_REGISTRY_FILE_H
#define ZELTA_DEVICE_REGISTRY_FILE_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace device {

// $ZELTA_REGISTRY, else "zelta.reg" in the application directory.
std::string registryPath();

struct RegistryKey {
  std::string name;
  std::vector<std::pair<std::string, std::string>> values;  // name, stored text
};

class RegistryFile {
 public:
  // A missing file reads as an empty registry; false when it exists and
  // cannot be read.
  bool load(const std::string& path);
  // Through a temporary file and a rename; false when it cannot be written.
  bool save(const std::string& path) const;

  // The stored text ("sz:..." or "dword:..."), or null.
  const std::string* find(const std::string& key, const std::string& name) const;
  void set(const std::string& key, const std::string& name, const std::string& stored);

 private:
  std::vector<RegistryKey> keys_;
};

// The stored forms of a value; a text with a line end cannot be stored.
bool storedText(const std::string& text, std::string& stored);
std::string storedNumber(uint32_t value);

}  // namespace device

#endif
