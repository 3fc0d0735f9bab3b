// Message boxes. The user-interface folder shows them (its headless driver
// prints them and takes the answer from its script); without that folder
// the title and text are printed on standard output as "[title] text" and
// the answer is OK/Yes.
#include "core.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "zeltamisc.h"
#include "zeltautil.h"

namespace {

int showBox(const char* title, const char* text, int yesNo) {
  if (core::hooks().messageBox) return core::hooks().messageBox(title, text, yesNo);
  printf("[%s] %s\n", title, text);
  fflush(stdout);
  return 1;
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
