// Helpers that generated code calls besides the language's exports: plain
// string and memory operations on C buffers, the debug hooks, Alert2, the
// host console output (QOUT and friends) and the few host types and calls
// that the generated entry point and foreign-call wrappers name (WinMain,
// FindWindow, RegisterInstance, HMODULE, GetProcAddress).
#ifndef ZELTAUTIL_H
#define ZELTAUTIL_H

#include <stddef.h>
#include <stdio.h>
#include <string.h>

#include "zeltaobjs.h"

#define WINAPI
#define APIENTRY
#define PASCAL
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
typedef void* HMODULE;
typedef unsigned char Boolean;

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);

// Non-null when another instance of this program runs in the same
// application directory; otherwise this process takes the instance lock.
ZELTA_EXPORT HANDLE FindWindow(const char* windowName, const char* title);
ZELTA_EXPORT int SetForegroundWindow(HWND window);
ZELTA_EXPORT void RegisterInstance(HINSTANCE instance);

// Foreign-call wrappers: the address of `name` in a library from
// nHdlGetDllHandle, or null.
ZELTA_EXPORT void* GetProcAddress(HMODULE library, const char* name);
// The buffer of a STATICPCHAR parameter: the one *slot points at while it
// holds `size` bytes, else a new one (the old stays: the library may keep
// it). *slot is set, and nulled again when __EndGlobal frees the buffers.
ZELTA_EXPORT void* ForeignStaticBuffer(void** slot, long size);
// Exported functions: a text result as a copy the C caller frees with
// free(); null when the value is no text.
ZELTA_EXPORT char* ExportText(pObj_Node value);
// Gives `buffer` an empty text of room for `size` bytes; returns it.
ZELTA_EXPORT pObj_Node SETBUFFSIZE(pObj_Node buffer, pObj_Node size);

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
