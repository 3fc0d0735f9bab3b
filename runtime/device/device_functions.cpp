// The device functions that have a plain meaning on this host: sorting an
// array, erasing a file, the registry file, looking for a running process
// and the storage of the application directory.
#include "zeltadevice.h"

#include <strings.h>

#include <cmath>
#include <string>

#include "arguments.h"
#include "core.h"
#include "device_posix.h"
#include "host.h"
#include "registry_file.h"
#include "zeltaarray.h"
#include "zeltautil.h"

namespace {

std::string lowerCase(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::string withoutExtension(const std::string& name) {
  const size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// A registry name may not hold what the file's layout uses.
bool storableName(const std::string& name, bool valueName) {
  if (name.empty() || name.find_first_of("\r\n") != std::string::npos) return false;
  return !valueName || name.find('=') == std::string::npos;
}

pObj_Node storedValue(const std::string& stored) {
  if (stored.compare(0, 3, "sz:") == 0) return core::newText(std::string_view(stored).substr(3));
  return core::newNumber(std::strtod(stored.c_str() + 6, nullptr));
}

}  // namespace

pObj_Node __ASort(pObj_Node array) { return __ASORT(array); }

pObj_Node __devout() { return QQOUT(); }

pObj_Node __FErase(pObj_Node file) {
  const std::string path(core::checkText(file));
  return core::newNumber(!path.empty() && core::host::removeFile(path) ? 0 : -1);
}

pObj_Node __CheckProcess(pObj_Node name) {
  const std::string wanted = lowerCase(std::string(core::checkText(name)));
  if (wanted.empty()) return __INIT_BOOL(0);
  // "shop" also finds shop.exe; "shop.exe" only that name.
  const bool bare = wanted.find('.') == std::string::npos;
  for (const std::string& running : device::host::processNames()) {
    const std::string n = lowerCase(running);
    if (n == wanted || (bare && withoutExtension(n) == wanted)) return __INIT_BOOL(1);
  }
  return __INIT_BOOL(0);
}

pObj_Node __GetSDName() {
  const std::string mount = device::host::mountPointOf(core::appDirectory());
  return core::newText(mount);
}

pObj_Node __RegGetData(pObj_Node key, pObj_Node name, pObj_Node fallback) {
  const std::string keyText(core::checkText(key));
  const std::string nameText(core::checkText(name));
  device::RegistryFile registry;
  const std::string* stored = registry.load(device::registryPath()) ? registry.find(keyText, nameText) : nullptr;
  if (stored && (stored->compare(0, 3, "sz:") == 0 || stored->compare(0, 6, "dword:") == 0))
    return storedValue(*stored);
  return fallback ? fallback : __INIT_NIL();
}

pObj_Node __RegSetData(pObj_Node key, pObj_Node name, pObj_Node value, pObj_Node type) {
  const std::string keyText(core::checkText(key));
  const std::string nameText(core::checkText(name));
  std::string wanted = core::isGiven(type) ? lowerCase(std::string(core::checkText(type))) : "";
  if (wanted.empty()) wanted = core::isType(value, T_DOUBLE) ? "dword" : "sz";
  std::string stored;
  if (wanted == "dword") {
    const double n = core::checkNumber(value);
    if (!(n >= 0 && n <= 4294967295.0) || n != std::floor(n)) core::argumentError();
    stored = device::storedNumber(static_cast<uint32_t>(n));
  } else if (wanted == "sz") {
    if (!device::storedText(std::string(core::checkText(value)), stored)) return __INIT_BOOL(0);
  } else {
    core::argumentError();
  }
  if (!storableName(keyText, false) || !storableName(nameText, true)) return __INIT_BOOL(0);
  const std::string path = device::registryPath();
  device::RegistryFile registry;
  if (!registry.load(path)) return __INIT_BOOL(0);
  registry.set(keyText, nameText, stored);
  return __INIT_BOOL(registry.save(path));
}
