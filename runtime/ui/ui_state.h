// The user-interface folder's state record (see runtime/core/core.h for the
// convention): what the drivers remember between calls.
#ifndef ZELTA_UI_UI_STATE_H
#define ZELTA_UI_UI_STATE_H

#include <cstddef>
#include <string>
#include <vector>

namespace ui {

struct State {
  // The headless driver's script (ZELTA_UI_SCRIPT), read on first use.
  std::vector<std::string> scriptLines;
  size_t scriptPos = 0;
  bool scriptLoaded = false;
};

extern State stateRecord;
inline State& state() { return stateRecord; }

}  // namespace ui

#endif
