// Which driver an application draws with: ZELTA_UI=headless or terminal, and
// without that setting the terminal when standard input and output are one.
// A terminal that cannot be drawn on (an unknown TERM) falls back to the
// headless driver.
#include <string.h>

#include "driver.h"
#include "host.h"
#include "ui_state.h"

namespace ui {

Driver& driver() {
  State& s = state();
  if (!s.driver) {
    const char* choice = core::host::environment("ZELTA_UI");
    const bool headless = choice && strcmp(choice, "headless") == 0;
    const bool terminal = choice && strcmp(choice, "terminal") == 0;
    if (!headless && (terminal || onTerminal())) s.driver = makeTerminalDriver();
    if (!s.driver) s.driver = makeHeadlessDriver();
  }
  return *s.driver;
}

bool driverChosen() { return state().driver != nullptr; }

}  // namespace ui
