// GetMyVersion: the version a program file carries. On this host program
// files are ELF; the version is the text of a section named ".zelta_version"
// holding "ZELTAVER:" followed by the version and a zero byte. The run-time
// carries its own (below); the run-time's own file is asked for with an
// empty name.
//
// ELF fields read (little-endian, 32- or 64-bit):
//
//   offset  32-bit  64-bit
//   e_shoff   0x20    0x28     section header table
//   e_shentsize 0x2E  0x3A
//   e_shnum   0x30    0x3C
//   e_shstrndx 0x32   0x3E     section holding the section names
//   section header: sh_name 0x00; sh_offset 0x10 / 0x18; sh_size 0x14 / 0x20
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "arguments_ui.h"
#include "version.h"
#include "zeltaui.h"
#include "zeltamisc.h"

namespace {

constexpr char kVersionTag[] = "ZELTAVER:";
constexpr char kSectionName[] = ".zelta_version";

}  // namespace

extern "C" {
// The run-time's own version record, found by the same reader.
[[gnu::used, gnu::section(".zelta_version")]] const char zeltaRuntimeVersion[] = "ZELTAVER:4.40.00";
}

namespace ui {

namespace {

enum class Failure { None, Missing, NotElf, Bad, NoVersion };

uint64_t readLe(const std::vector<unsigned char>& bytes, uint64_t at, int size, bool& ok) {
  if (at + static_cast<uint64_t>(size) > bytes.size()) {
    ok = false;
    return 0;
  }
  uint64_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[at + static_cast<uint64_t>(i)];
  return value;
}

Failure versionOfFile(const std::string& path, std::string& version) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return Failure::Missing;
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.size() < 4 || bytes[0] != 0x7F || bytes[1] != 'E' || bytes[2] != 'L' || bytes[3] != 'F')
    return Failure::NotElf;
  if (bytes.size() < 52) return Failure::Bad;
  const bool wide = bytes[4] == 2;
  if ((bytes[4] != 1 && bytes[4] != 2) || bytes[5] != 1) return Failure::Bad;
  bool ok = true;
  const uint64_t tableAt = readLe(bytes, wide ? 0x28 : 0x20, wide ? 8 : 4, ok);
  const uint64_t entrySize = readLe(bytes, wide ? 0x3A : 0x2E, 2, ok);
  const uint64_t count = readLe(bytes, wide ? 0x3C : 0x30, 2, ok);
  const uint64_t namesIndex = readLe(bytes, wide ? 0x3E : 0x32, 2, ok);
  if (!ok || entrySize < (wide ? 0x28u : 0x18u) || namesIndex >= count) return Failure::Bad;
  auto header = [&](uint64_t i) { return tableAt + i * entrySize; };
  const uint64_t namesAt = readLe(bytes, header(namesIndex) + (wide ? 0x18 : 0x10), wide ? 8 : 4, ok);
  const uint64_t namesSize = readLe(bytes, header(namesIndex) + (wide ? 0x20 : 0x14), wide ? 8 : 4, ok);
  if (!ok || namesAt > bytes.size() || namesSize > bytes.size() - namesAt) return Failure::Bad;
  for (uint64_t i = 0; i < count; ++i) {
    const uint64_t name = readLe(bytes, header(i), 4, ok);
    const uint64_t at = readLe(bytes, header(i) + (wide ? 0x18 : 0x10), wide ? 8 : 4, ok);
    const uint64_t size = readLe(bytes, header(i) + (wide ? 0x20 : 0x14), wide ? 8 : 4, ok);
    if (!ok) return Failure::Bad;
    if (name >= namesSize) continue;
    const char* text = reinterpret_cast<const char*>(&bytes[namesAt + name]);
    const std::string sectionName(text, strnlen(text, namesSize - name));
    if (sectionName != kSectionName) continue;
    if (at > bytes.size() || size > bytes.size() - at) return Failure::Bad;
    std::string content(reinterpret_cast<const char*>(&bytes[at]), size);
    content = content.substr(0, content.find('\0'));
    if (content.compare(0, sizeof kVersionTag - 1, kVersionTag) != 0) return Failure::NoVersion;
    version = content.substr(sizeof kVersionTag - 1);
    return Failure::None;
  }
  return Failure::NoVersion;
}

}  // namespace

std::string programFileVersion(const std::string& path) {
  std::string version;
  return versionOfFile(path, version) == Failure::None ? version : std::string();
}

}  // namespace ui

using namespace ui;

pObj_Node GetMyVersion(pObj_Node file) {
  const std::string path = textOr(file, "");
  if (path.empty()) return core::newText(zeltaRuntimeVersion + sizeof kVersionTag - 1);
  std::string version;
  char message[1200] = "";
  switch (versionOfFile(path, version)) {
    case Failure::None: return core::newText(version);
    case Failure::Missing: snprintf(message, sizeof message, "File Does not exists: %s \n", path.c_str()); break;
    case Failure::NotElf: snprintf(message, sizeof message, "Invalid file format, cannot continue \n"); break;
    case Failure::Bad: snprintf(message, sizeof message, "Bad file format, cannot continue\n"); break;
    case Failure::NoVersion:
      snprintf(message, sizeof message, "Cannot find any IMAGE_NT_HEADERS, cannot continue\n");
      break;
  }
  __MsgAlert(__INIT_CHARPTR(message), __INIT_CHARCONST("Alert"));
  return core::newText("");
}
