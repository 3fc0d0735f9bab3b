// The version a program file carries, read without showing anything: for
// callers that only compare versions (the installs of a sync session).
#ifndef ZELTA_UI_VERSION_H
#define ZELTA_UI_VERSION_H

#include <string>

namespace ui {

// The file's version text; "" when it has none or cannot be read.
std::string programFileVersion(const std::string& path);

}  // namespace ui

#endif
