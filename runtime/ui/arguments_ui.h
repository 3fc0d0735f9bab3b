// Argument checks of the user-interface exports. Optional arguments may be
// missing (null) or NIL; a given argument of the wrong type raises error 0,
// as lib's checks do.
#ifndef ZELTA_UI_ARGUMENTS_UI_H
#define ZELTA_UI_ARGUMENTS_UI_H

#include <string>
#include <vector>

#include "arguments.h"
#include "model.h"

namespace ui {

inline bool given(pObj_Node v) { return core::isGiven(v); }
inline int wholeOr(pObj_Node v, int fallback) { return given(v) ? static_cast<int>(core::checkWhole(v)) : fallback; }
inline double numberOr(pObj_Node v, double fallback) { return given(v) ? core::checkNumber(v) : fallback; }
bool boolOr(pObj_Node v, bool fallback);
std::string textOr(pObj_Node v, const std::string& fallback);
// A code block (its function in a pointer value).
Block blockOr(pObj_Node v);
// The texts of an array's elements as the console shows them; empty when
// missing.
std::vector<std::string> textItems(pObj_Node array);
// A window id: a DOUBLE naming a window (else error 0).
Window& checkWindow(pObj_Node id);
// A colour: a DOUBLE (RGB), -1 when missing.
inline int colorOr(pObj_Node v) { return wholeOr(v, -1); }

}  // namespace ui

#endif
