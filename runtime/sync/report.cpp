// State texts, alerts and log lines of the communication code. The lines are
// also kept in the state record (the last 256), where the sync window's
// history and the tests read them.
#include "report.h"

#include <stdarg.h>
#include <stdio.h>
#include <time.h>

#include "core.h"
#include "messages.h"
#include "sync_state.h"
#include "zeltautil.h"

namespace sync {

namespace {

constexpr size_t kRecentLines = 256;

std::string vformat(const char* format, va_list args) {
  char text[1025];
  vsnprintf(text, sizeof text, format, args);
  return text;
}

}  // namespace

void logLine(const std::string& text) {
  std::deque<std::string>& recent = state().recentLog;
  recent.push_back(text);
  if (recent.size() > kRecentLines) recent.pop_front();
}

void logf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = vformat(format, args);
  va_end(args);
  logLine(text);
}

void showState(const std::string& text) {
  state().stateText = text;
  if (state().ui.stateText) state().ui.stateText(text.c_str());
}

void showInfo(const std::string& text) {
  state().infoText = text;
  if (state().ui.infoText) state().ui.infoText(text.c_str());
}

void alert(const std::string& text) { Alert2(text.c_str()); }

std::string auxText(int n, ...) {
  va_list args;
  va_start(args, n);
  std::string text = vformat(core::auxMessage(core::errorLanguage(), n), args);
  va_end(args);
  return text;
}

void showAux(int n) { showState(core::auxMessage(core::errorLanguage(), n)); }

std::string clockText() {
  const time_t now = time(nullptr);
  struct tm parts;
  localtime_r(&now, &parts);
  char text[16];
  strftime(text, sizeof text, "%H:%M:%S", &parts);
  return text;
}

}  // namespace sync
