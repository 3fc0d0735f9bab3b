// Loads the wide-character curses library the first time a terminal driver
// starts. A missing library or name leaves the table empty, and the program
// draws with the headless driver, as it does on a terminal curses cannot use.
#include <initializer_list>

#define ZELTA_CURSES_LOADER
#include "curses_api.h"
#include "host.h"

namespace ui {

CursesApi cursesApi;

namespace {

template <typename T>
bool take(void* library, const char* name, T& to) {
  to = reinterpret_cast<T>(core::host::findSymbol(library, name));
  return to != nullptr;
}

bool loadFrom(void* library) {
  CursesApi api{};
  bool ok = true;
#define ZELTA_CURSES_TAKE(name) ok = take(library, #name, api.name) && ok;
  ZELTA_CURSES_FUNCTIONS(ZELTA_CURSES_TAKE)
#undef ZELTA_CURSES_TAKE
  ok = take(library, "COLOR_PAIRS", api.colorPairs) && ok;
  ok = take(library, "COLS", api.cols) && ok;
  ok = take(library, "LINES", api.lines) && ok;
  ok = take(library, "acs_map", api.acsMap) && ok;
  ok = take(library, "stdscr", api.screenWindow) && ok;
  if (ok) cursesApi = api;
  return ok;
}

}  // namespace

bool loadCurses() {
  static const bool loaded = [] {
    for (const char* name : {"libncursesw.so.6", "libncursesw.so"}) {
      void* library = core::host::openLibrary(name);
      if (library && loadFrom(library)) return true;
    }
    return false;
  }();
  return loaded;
}

}  // namespace ui
