// Key bindings (SETKEY): controls of kind 16 that call their action when
// their key is pressed, before the focused control sees the key.
#ifndef ZELTA_UI_KEYS_H
#define ZELTA_UI_KEYS_H

#include "model.h"

namespace ui {

// The handheld's code of a key of ours (driver.h), or 0.
int deviceKeyCode(int key);
// A key named by its device code (kKeyDevice + n) as the key of ours it
// stands for, where there is one.
int ordinaryKey(int key);
// The handheld's code a SETKEY number binds.
int mappedKeyNumber(long number);
// Calls the binding of the key in the window; true when there was one.
bool keyBinding(Window& window, int key);

}  // namespace ui

#endif
