// Reading the headless driver's script and answering message boxes from it.
#include "headless_script.h"

#include <stdio.h>
#include <strings.h>

#include <fstream>

#include "host.h"
#include "ui_state.h"

namespace ui {

namespace {

void loadScript() {
  State& s = state();
  if (s.scriptLoaded) return;
  s.scriptLoaded = true;
  const char* path = core::host::environment("ZELTA_UI_SCRIPT");
  if (!path || !*path) return;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) s.scriptLines.push_back(line);
}

}  // namespace

int scriptedAnswer() {
  loadScript();
  State& s = state();
  if (s.scriptPos >= s.scriptLines.size()) return 1;
  const std::string& line = s.scriptLines[s.scriptPos];
  if (strncasecmp(line.c_str(), "answer", 6) != 0) return 1;
  ++s.scriptPos;
  const char* word = line.c_str() + 6;
  while (*word == ' ' || *word == '\t') ++word;
  return strncasecmp(word, "no", 2) == 0 ? 0 : 1;
}

int headlessMessageBox(const char* title, const char* text, int) {
  printf("[%s] %s\n", title, text);
  fflush(stdout);
  return scriptedAnswer();
}

}  // namespace ui
