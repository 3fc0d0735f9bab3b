// Helpers that generated code calls besides the language's exports: plain
// string and memory operations on C buffers, the debug hooks, Alert2, the
// host console output (QOUT and friends) and the few host types and calls
// that the generated entry point names (WinMain, FindWindow, RegisterInstance).
#ifndef ZELTAUTIL_H
#define ZELTAUTIL_H

#include <stddef.h>
#include <string.h>

#include "zeltaobjs.h"

#define WINAPI
#define APIENTRY
#ifndef _T
#define _T(x) x
#endif
// Name the single-instance check looks for; one lock file per name.
#define OOW_NAME "OO_BkWindow"

typedef void* HANDLE;
typedef void* HINSTANCE;
typedef void* HWND;
typedef unsigned long DWORD;  // wide enough to carry a handle through a cast
typedef char* LPTSTR;

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);

// Non-null when another instance of this program runs in the same
// application directory; otherwise this process takes the instance lock.
ZELTA_EXPORT HANDLE FindWindow(const char* windowName, const char* title);
ZELTA_EXPORT int SetForegroundWindow(HWND window);
ZELTA_EXPORT void RegisterInstance(HINSTANCE instance);

// Plain C-buffer helpers; a null source counts as the empty text.
ZELTA_EXPORT char* xstrcpy(char* target, const char* source);
ZELTA_EXPORT char* xstrncpy(char* target, const char* source, size_t n);
ZELTA_EXPORT void* xmemcpy(void* target, const void* source, size_t n);
ZELTA_EXPORT void* xmemset(void* target, int value, size_t n);
ZELTA_EXPORT size_t xstrlen(const char* text);
// Size of a block from xmalloc (0 for null or any other pointer).
ZELTA_EXPORT size_t MemPtrSize(void* block);

// A message box with the title "Alert" (headless: printed on stdout).
ZELTA_EXPORT void Alert2(const char* text);
ZELTA_EXPORT void __SetVarDegubgInfo(pObj_Node variable, const char* function, const char* name, int isLocal);
ZELTA_EXPORT void __SetCrtID(const char* creatorId);

// Console output: arguments separated by one blank, each formatted as the
// language shows values. QOUT starts a new line first, QQOUT does not;
// OUTSTD writes like QQOUT, OUTERR the same on standard error. Return NIL.
#define ZELTA_OUTPUT_PARAMS                                                                                           \
  pObj_Node a1 = NULL, pObj_Node a2 = NULL, pObj_Node a3 = NULL, pObj_Node a4 = NULL, pObj_Node a5 = NULL,            \
            pObj_Node a6 = NULL, pObj_Node a7 = NULL, pObj_Node a8 = NULL, pObj_Node a9 = NULL, pObj_Node a10 = NULL, \
            pObj_Node a11 = NULL, pObj_Node a12 = NULL, pObj_Node a13 = NULL, pObj_Node a14 = NULL,                   \
            pObj_Node a15 = NULL, pObj_Node a16 = NULL
ZELTA_EXPORT pObj_Node QOUT(ZELTA_OUTPUT_PARAMS);
ZELTA_EXPORT pObj_Node QQOUT(ZELTA_OUTPUT_PARAMS);
ZELTA_EXPORT pObj_Node OUTSTD(ZELTA_OUTPUT_PARAMS);
ZELTA_EXPORT pObj_Node OUTERR(ZELTA_OUTPUT_PARAMS);

#endif
