// Run-time errors and their messages, message boxes, and the registry of
// named functions that programs call by name (RegisterBlock, ExecBlock);
// with them, the device functions of zeltadevice.h.
#ifndef ZELTAMISC_H
#define ZELTAMISC_H

#include "zeltaobjs.h"

// Fills `buffer` (at least 1,025 bytes) with the name of `code`, then, when
// an auxiliary message is pending, a line break and that message.
ZELTA_EXPORT void GetError(char* buffer, int code);
// "Msg(%d)-%s" with row n of the auxiliary table in the current language.
ZELTA_EXPORT char* __GetAuxError(int n);
ZELTA_EXPORT pObj_Node __SetErrorLang(pObj_Node language);
typedef pObj_Node (*ExitHook)(void);
ZELTA_EXPORT pObj_Node __RegisterExit(ExitHook hook);
ZELTA_EXPORT pObj_Node __RegisterExit(pObj_Node (*block)(pObj_Node, pObj_Node, pObj_Node));
[[noreturn]] ZELTA_EXPORT void rstCall();
ZELTA_EXPORT int ErrSync();
[[noreturn]] ZELTA_EXPORT void cleandbs();
ZELTA_EXPORT void ShowFreeMem();

ZELTA_EXPORT pObj_Node __MsgAlert(pObj_Node text, pObj_Node title);
ZELTA_EXPORT pObj_Node __MsgStop(pObj_Node text, pObj_Node title);
ZELTA_EXPORT pObj_Node __MsgYesNo(pObj_Node text, pObj_Node title);
ZELTA_EXPORT int __gMessageBox(const char* title, const char* text);
ZELTA_EXPORT int MostraErro();

ZELTA_EXPORT int RegisterBlock(const char* name, void* function);
ZELTA_EXPORT pObj_Node ExistBlock(pObj_Node name);
ZELTA_EXPORT pObj_Node ExecBlock(pObj_Node name, pObj_Node a, pObj_Node b, pObj_Node arg, pObj_Node plain);

#include "zeltadevice.h"

#endif
