// Reading the headless driver's script (headless_script.h): the file is read
// once per application; each line is parsed when the driver comes to it.
#include "headless_script.h"

#include <stdio.h>
#include <strings.h>

#include <cctype>
#include <cstdlib>
#include <fstream>

#include "driver.h"
#include "host.h"

namespace ui {

namespace {

void loadScript() {
  State& s = state();
  if (s.scriptLoaded) return;
  s.scriptLoaded = true;
  const char* path = core::host::environment("ZELTA_UI_SCRIPT");
  if (!path || !*path) return;
  s.scriptPath = path;
  std::ifstream in(path);
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    s.scriptLines.push_back({number, line});
  }
}

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

void skipBlanks(const std::string& line, size_t& at) {
  while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
}

std::string word(const std::string& line, size_t& at) {
  skipBlanks(line, at);
  const size_t from = at;
  while (at < line.size() && line[at] != ' ' && line[at] != '\t') ++at;
  return line.substr(from, at - from);
}

bool wholeNumber(const std::string& text, long& value) {
  if (text.empty()) return false;
  for (char c : text)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  value = std::strtol(text.c_str(), nullptr, 10);
  return true;
}

// A control: an id, a caption in double quotes, or *.
bool controlRef(const std::string& line, size_t& at, ControlRef& ref, std::string& error) {
  skipBlanks(line, at);
  if (at >= line.size()) {
    error = "a control is missing";
    return false;
  }
  if (line[at] == '"') {
    const size_t close = line.find('"', at + 1);
    if (close == std::string::npos) {
      error = "a caption lacks its closing quote";
      return false;
    }
    ref.kind = ControlRef::kCaption;
    ref.caption = line.substr(at + 1, close - at - 1);
    at = close + 1;
    return true;
  }
  const std::string w = word(line, at);
  if (w == "*") {
    ref.kind = ControlRef::kFocused;
    return true;
  }
  if (!wholeNumber(w, ref.id)) {
    error = "not a control: " + w;
    return false;
  }
  ref.kind = ControlRef::kId;
  return true;
}

// The rest of the line after one blank; quotes around it keep its blanks.
std::string restText(const std::string& line, size_t at) {
  if (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
  std::string text = line.substr(at < line.size() ? at : line.size());
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
  return text;
}

bool noMore(const std::string& line, size_t at, std::string& error) {
  skipBlanks(line, at);
  if (at >= line.size()) return true;
  error = "unexpected text: " + line.substr(at);
  return false;
}

}  // namespace

int scriptKey(const std::string& name) {
  static const struct {
    const char* name;
    int key;
  } kNames[] = {{"tab", kKeyTab},           {"backtab", kKeyBackTab},
                {"shift-tab", kKeyBackTab}, {"enter", kKeyEnter},
                {"return", kKeyEnter},      {"esc", kKeyEsc},
                {"escape", kKeyEsc},        {"up", kKeyUp},
                {"down", kKeyDown},         {"left", kKeyLeft},
                {"right", kKeyRight},       {"home", kKeyHome},
                {"end", kKeyEnd},           {"pgup", kKeyPageUp},
                {"pageup", kKeyPageUp},     {"pgdn", kKeyPageDown},
                {"pagedown", kKeyPageDown}, {"backspace", kKeyBackspace},
                {"delete", kKeyDelete},     {"del", kKeyDelete},
                {"space", kKeySpace}};
  const std::string n = lower(name);
  for (const auto& k : kNames)
    if (n == k.name) return k.key;
  if (n.size() >= 2 && n[0] == 'f') {
    long f = 0;
    if (wholeNumber(n.substr(1), f) && f >= 1 && f <= 12) return kKeyF1 + static_cast<int>(f) - 1;
  }
  if (n.size() >= 8 && n.compare(0, 7, "shift-f") == 0) {
    long f = 0;
    if (wholeNumber(n.substr(7), f) && f >= 1 && f <= 4) return kKeyShiftF1 + static_cast<int>(f) - 1;
  }
  // A single character is typed; a number of two or more digits is a code.
  long code = 0;
  if (n.size() >= 2 && wholeNumber(n, code) && code < 65536) return kKeyDevice + static_cast<int>(code);
  return 0;
}

bool parseScriptLine(const std::string& line, ScriptEvent& event, std::string& error) {
  event = ScriptEvent();
  size_t at = 0;
  skipBlanks(line, at);
  if (at >= line.size() || line[at] == '#') return true;
  const std::string verb = lower(word(line, at));
  long n = 0;
  if (verb == "type") {
    event.verb = ScriptEvent::kType;
    if (!controlRef(line, at, event.control, error)) return false;
    event.text = restText(line, at);
    return true;
  }
  if (verb == "press" || verb == "focus") {
    event.verb = verb == "press" ? ScriptEvent::kPress : ScriptEvent::kFocus;
    return controlRef(line, at, event.control, error) && noMore(line, at, error);
  }
  if (verb == "choose") {
    event.verb = ScriptEvent::kChoose;
    if (!controlRef(line, at, event.control, error)) return false;
    const std::string row = word(line, at);
    if (!wholeNumber(row, event.number) || event.number < 1) {
      error = row.empty() ? "a row number is missing" : "not a row number: " + row;
      return false;
    }
    return noMore(line, at, error);
  }
  if (verb == "key") {
    event.verb = ScriptEvent::kKey;
    const std::string name = word(line, at);
    if (name.empty()) {
      error = "a key is missing";
      return false;
    }
    event.key = scriptKey(name);
    if (!event.key) {
      if (name.size() != 1) {
        error = "not a key: " + name;
        return false;
      }
      event.text = name;
    }
    return noMore(line, at, error);
  }
  if (verb == "menu") {
    event.verb = ScriptEvent::kMenu;
    return controlRef(line, at, event.control, error) && noMore(line, at, error);
  }
  if (verb == "timer" || verb == "wait") {
    event.verb = verb == "timer" ? ScriptEvent::kTimer : ScriptEvent::kWait;
    const std::string value = word(line, at);
    if (!wholeNumber(value, n)) {
      error = value.empty() ? "a number is missing" : "not a number: " + value;
      return false;
    }
    event.number = n;
    return noMore(line, at, error);
  }
  if (verb == "answer") {
    event.verb = ScriptEvent::kAnswer;
    event.text = word(line, at);
    return true;
  }
  if (verb == "dump" || verb == "close") {
    event.verb = verb == "dump" ? ScriptEvent::kDump : ScriptEvent::kClose;
    return noMore(line, at, error);
  }
  error = "unknown event: " + verb;
  return false;
}

const ScriptLine* nextScriptLine() {
  loadScript();
  State& s = state();
  return s.scriptPos < s.scriptLines.size() ? &s.scriptLines[s.scriptPos] : nullptr;
}

void takeScriptLine() {
  State& s = state();
  if (s.scriptPos < s.scriptLines.size()) ++s.scriptPos;
  s.waitLeftMs = -1;
}

void reportScriptLine(int line, const std::string& problem) {
  fflush(stdout);
  fprintf(stderr, "%s:%d: %s\n", state().scriptPath.c_str(), line, problem.c_str());
  fflush(stderr);
}

int scriptedAnswer() {
  // Comment and blank lines before the answer belong to it.
  for (const ScriptLine* line = nextScriptLine(); line; line = nextScriptLine()) {
    ScriptEvent event;
    std::string error;
    if (!parseScriptLine(line->text, event, error) || event.verb != ScriptEvent::kComment) break;
    takeScriptLine();
  }
  const ScriptLine* line = nextScriptLine();
  if (!line) return 1;
  ScriptEvent event;
  std::string error;
  if (!parseScriptLine(line->text, event, error) || event.verb != ScriptEvent::kAnswer) return 1;
  takeScriptLine();
  return strncasecmp(event.text.c_str(), "no", 2) == 0 ? 0 : 1;
}

}  // namespace ui
