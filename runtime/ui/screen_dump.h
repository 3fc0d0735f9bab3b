// The screen as text: what the headless driver's "dump" prints, one line per
// shown control in creation order (the format is in docs/ui.md). It starts
// with a line break, since the console's output ends without one.
#ifndef ZELTA_UI_SCREEN_DUMP_H
#define ZELTA_UI_SCREEN_DUMP_H

#include <string>

#include "model.h"

namespace ui {

std::string dumpWindow(const Window& window);

}  // namespace ui

#endif
