// The entry points the compiler writes for functions of the handheld
// devices. Where the host has a plain meaning for one it does that (erase a
// file, read and write the registry file, look for a running process, the
// storage of the application directory, sort an array); every other one
// stops the program with a run-time error that names it as not available
// on this platform. (The screen geometry and ShowBitMap belong to the user
// interface, zeltaui.h.) runtime/device keeps them; zeltamisc.h includes this
// header so that every target's shared header sees them.
#ifndef ZELTADEVICE_H
#define ZELTADEVICE_H

#include "zeltaobjs.h"

// What the host does with them.
ZELTA_EXPORT pObj_Node __ASort(pObj_Node array);  // ascending, in place; the array
ZELTA_EXPORT pObj_Node __devout();                // writes nothing (as ?? alone); NIL
ZELTA_EXPORT pObj_Node __FErase(pObj_Node file);  // 0 when removed, else -1
ZELTA_EXPORT pObj_Node __CheckProcess(pObj_Node name);
ZELTA_EXPORT pObj_Node __RegGetData(pObj_Node key, pObj_Node name, pObj_Node fallback);
ZELTA_EXPORT pObj_Node __RegSetData(pObj_Node key, pObj_Node name, pObj_Node value, pObj_Node type);
ZELTA_EXPORT pObj_Node __GetSDName();

// Not available on this platform: each raises RUNTIME ERROR! naming itself.
ZELTA_EXPORT pObj_Node __SendSmsMsg(pObj_Node a, pObj_Node b, pObj_Node c, pObj_Node d, pObj_Node e);
ZELTA_EXPORT pObj_Node __ReadSmsMsg();
ZELTA_EXPORT pObj_Node __SmsOpen(pObj_Node a);
ZELTA_EXPORT pObj_Node __SmsClose();
ZELTA_EXPORT pObj_Node SETBATCHOPER(pObj_Node a);
ZELTA_EXPORT pObj_Node __StartServer(pObj_Node a, pObj_Node b, pObj_Node c);
ZELTA_EXPORT pObj_Node __ConnectConsole(pObj_Node a, pObj_Node b);
ZELTA_EXPORT pObj_Node __SendConsole(pObj_Node a, pObj_Node b);
ZELTA_EXPORT pObj_Node __ReadConsole(pObj_Node a, pObj_Node b);
ZELTA_EXPORT pObj_Node __CreateArrayBrowse(pObj_Node a, pObj_Node b, pObj_Node c, pObj_Node d, pObj_Node e, pObj_Node f,
                                           pObj_Node g, pObj_Node h, pObj_Node i);
ZELTA_EXPORT pObj_Node __GetSignature(pObj_Node a);
ZELTA_EXPORT pObj_Node __ShowSignature(pObj_Node a, pObj_Node b, pObj_Node c);
ZELTA_EXPORT pObj_Node __DelSignature(pObj_Node a);
ZELTA_EXPORT pObj_Node __GetProfileCon(pObj_Node a);
ZELTA_EXPORT pObj_Node __GetProfileNet(pObj_Node a);
ZELTA_EXPORT pObj_Node __SetProfileNet(pObj_Node a, pObj_Node b);
ZELTA_EXPORT pObj_Node __GetActiveProfileNet(pObj_Node a);
ZELTA_EXPORT pObj_Node __AddProfileNet(pObj_Node a);
ZELTA_EXPORT pObj_Node __AddProfileCon(pObj_Node a);
ZELTA_EXPORT pObj_Node __CaptureCode();
ZELTA_EXPORT pObj_Node __EzeltaTest();
ZELTA_EXPORT pObj_Node __CameraCapture(pObj_Node a);

#endif
