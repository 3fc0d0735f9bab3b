// Menus, timers, key bindings, bitmaps and the line printer. Menu entries,
// timers, keys and bitmaps are controls of the current window, with ids from
// the common counter; their actions are called with the window id and the
// control id. The printer writes "pda.txt" in the current directory.
#ifndef ZELTAGUI2_H
#define ZELTAGUI2_H

#include "zeltaobjs.h"

#define ZELTA_ARG(name) pObj_Node name = NULL

// Menus: an entry of the window's bar; an item of the current window's last
// entry (NIL, and nothing added, when `menu` is not that entry).
ZELTA_EXPORT pObj_Node __AddMenuBar(pObj_Node window, ZELTA_ARG(caption), ZELTA_ARG(action));
ZELTA_EXPORT pObj_Node __AddMenuItem(pObj_Node menu, ZELTA_ARG(caption), ZELTA_ARG(action));

// Timers, expiring only inside the modal loops.
ZELTA_EXPORT pObj_Node ADDTIMER(pObj_Node interval, ZELTA_ARG(action));
ZELTA_EXPORT pObj_Node ACTIVETIMER(pObj_Node id);
ZELTA_EXPORT pObj_Node DEACTIVETIMER(pObj_Node id);
ZELTA_EXPORT pObj_Node __SetTimerInt(pObj_Node id, pObj_Node interval);
ZELTA_EXPORT pObj_Node __TimerDestroy(pObj_Node id);
ZELTA_EXPORT pObj_Node _Dft_KillTimer(pObj_Node timer);
// The process-wide keep-alive timer (id 615, every 60,000 ms).
ZELTA_EXPORT pObj_Node ativartemporizador();
ZELTA_EXPORT pObj_Node desativartemporizador();

// Key bindings: `action` runs when `key` is pressed in the current window.
ZELTA_EXPORT pObj_Node SETKEY(ZELTA_ARG(argument), ZELTA_ARG(key), ZELTA_ARG(action));

// The version of a program file (the run-time's own file for ""); used by
// GETVER.
ZELTA_EXPORT pObj_Node GetMyVersion(ZELTA_ARG(file));

#undef ZELTA_ARG

#endif
