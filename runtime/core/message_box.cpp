// Message boxes. Without a user interface they run on the headless driver:
// the title and text are printed on standard output as "[title] text" and
// the answer is the next "answer" line of the ZELTA_UI_SCRIPT file
// ("answer yes", "answer no", "answer ok"), OK/Yes when there is none.
#include "core.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include <fstream>
#include <string>
#include <vector>

#include "host.h"
#include "zeltamisc.h"
#include "zeltautil.h"

namespace {

std::vector<std::string> scriptLines;
size_t scriptPos = 0;
bool scriptLoaded = false;

void loadScript() {
  if (scriptLoaded) return;
  scriptLoaded = true;
  const char* path = core::host::environment("ZELTA_UI_SCRIPT");
  if (!path || !*path) return;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) scriptLines.push_back(line);
}

// 1 for OK/Yes, 0 for No.
int scriptedAnswer() {
  loadScript();
  if (scriptPos >= scriptLines.size()) return 1;
  const std::string& line = scriptLines[scriptPos];
  if (strncasecmp(line.c_str(), "answer", 6) != 0) return 1;
  ++scriptPos;
  const char* word = line.c_str() + 6;
  while (*word == ' ' || *word == '\t') ++word;
  return strncasecmp(word, "no", 2) == 0 ? 0 : 1;
}

int showBox(const char* title, const char* text, int yesNo) {
  if (core::hooks().messageBox) return core::hooks().messageBox(title, text, yesNo);
  printf("[%s] %s\n", title, text);
  fflush(stdout);
  return scriptedAnswer();
}

const char* titleOr(pObj_Node title, const char* fallback) {
  if (title && title->objType == T_CHARPTR && title->objData.mbuff) return title->objData.mbuff;
  return fallback;
}

const char* checkedText(pObj_Node text) {
  if (!text || text->objType != T_CHARPTR) __RuntimeError(ARGUMENT_ERROR, -1);
  return text->objData.mbuff ? text->objData.mbuff : "";
}

}  // namespace

pObj_Node __MsgAlert(pObj_Node text, pObj_Node title) {
  const char* body = checkedText(text);
  if (glob && glob->shutdown) {
    printf("[%s] %s\n", "Info", body);
    return __INIT_BOOL(1);
  }
  return __INIT_BOOL(showBox(titleOr(title, "ALERT"), body, 0));
}

pObj_Node __MsgStop(pObj_Node text, pObj_Node title) {
  return __INIT_BOOL(showBox(titleOr(title, "STOP"), checkedText(text), 0));
}

pObj_Node __MsgYesNo(pObj_Node text, pObj_Node title) {
  return __INIT_BOOL(showBox(titleOr(title, "Please, select"), checkedText(text), 1));
}

int __gMessageBox(const char* title, const char* text) { return showBox(title ? title : "", text ? text : "", 0); }

void Alert2(const char* text) { showBox("Alert", text ? text : "", 0); }

int MostraErro() {
  const int error = errno;
  if (error == 0) return 0;
  showBox("Error", strerror(error), 0);
  return error;
}
