// The variables a validation function reaches: __SetValidFuncParam binds
// the program's variables to a control of the current window, and the
// generated function fetches them with __GetValidFuncParam:
//
//   pObj_Node vld_001(pObj_Node winid, pObj_Node newobj, pObj_Node value)
//   {
//   pObj_Node NQTY=NULL;
//   pObj_Node endP = __INIT_NUL();
//    __GetValidFuncParam(winid,newobj,__const_get_el(k),&NQTY,&endP);
//   ...
//
// The end marker is the location that holds the NUL record.
#include <cstdarg>

#include "arguments_ui.h"
#include "core.h"
#include "ui_state.h"
#include "zeltaui.h"

using namespace ui;

namespace {

int listIndex(pObj_Node kind) {
  const double n = kind && kind->objType == T_DOUBLE ? kind->objData.dValue : 1;
  return n == 2 ? 1 : 0;
}

}  // namespace

pObj_Node __SetValidFuncParam(pObj_Node control, ...) {
  const uint16_t id = checkId(control);
  va_list args;
  va_start(args, control);
  pObj_Node kind = va_arg(args, pObj_Node);
  std::vector<pObj_Node> variables;
  if (kind && kind->objType != T_NUL) {
    for (pObj_Node v = va_arg(args, pObj_Node); !v || v->objType != T_NUL; v = va_arg(args, pObj_Node))
      variables.push_back(v);
  }
  va_end(args);
  if (kind && kind->objType != T_NUL && kind->objType != T_DOUBLE && kind->objType != T_NIL) core::argumentError();
  Window* window = currentWindow();
  Control* c = findControl(id);
  if (!window || !c || windowOfControl(*c) != window) return core::systemRecord(kSysZero);
  std::vector<pObj_Node>& list = c->validVars[listIndex(kind)];
  list.clear();
  for (pObj_Node v : variables) list.push_back(holdForWindow(v, *window));
  return core::systemRecord(kSysZero);
}

pObj_Node __GetValidFuncParam(pObj_Node window, pObj_Node control, pObj_Node kind, ...) {
  const uint16_t windowId = checkId(window);
  const uint16_t controlId = checkId(control);
  core::checkNumber(kind);
  Control* c = findControl(controlId);
  Window* w = c ? windowOfControl(*c) : nullptr;
  const std::vector<pObj_Node>* list = w && w->id == windowId ? &c->validVars[listIndex(kind)] : nullptr;
  va_list args;
  va_start(args, kind);
  size_t next = 0;
  for (pObj_Node* place = va_arg(args, pObj_Node*); place; place = va_arg(args, pObj_Node*)) {
    if (*place && (*place)->objType == T_NUL) break;
    if (!list || next >= list->size()) break;
    *place = (*list)[next++];
  }
  va_end(args);
  return core::systemRecord(kSysZero);
}
