// The device services and the switches of the handheld's shell (input
// panel, task bar, background window). The switches only keep what the
// program sets on this host; each returns the previous value.
#ifndef ZELTAWIN_H
#define ZELTAWIN_H

#include "zeltaobjs.h"

// Sleeps a DOUBLE number of milliseconds; a null argument does nothing.
ZELTA_EXPORT pObj_Node SLEEP(pObj_Node milliseconds = NULL);
ZELTA_EXPORT int DoBeep(int frequency, int duration);
ZELTA_EXPORT pObj_Node __Beep(pObj_Node frequency = NULL, pObj_Node duration = NULL);
// Starts the program file; FALSE (after an "Alert" box) when it is missing.
ZELTA_EXPORT pObj_Node __Execute(pObj_Node program);
ZELTA_EXPORT pObj_Node GETVER();
ZELTA_EXPORT pObj_Node GetProcessorType();
ZELTA_EXPORT pObj_Node __GetPdaModel();
ZELTA_EXPORT pObj_Node __Memory();
ZELTA_EXPORT void SetDotNet();

ZELTA_EXPORT pObj_Node __InstanceBackWindow();
ZELTA_EXPORT pObj_Node __SetBackWindow(pObj_Node flag = NULL);
ZELTA_EXPORT pObj_Node __GetMetrics();
ZELTA_EXPORT pObj_Node __IsTouch();
ZELTA_EXPORT pObj_Node __SetInputStatus(pObj_Node status = NULL);
ZELTA_EXPORT pObj_Node __SetTbStatus(pObj_Node status = NULL);
ZELTA_EXPORT pObj_Node __SetSipStatus(pObj_Node status = NULL);
ZELTA_EXPORT pObj_Node __SetSipPos(pObj_Node position = NULL);
ZELTA_EXPORT pObj_Node __ShowSip(pObj_Node show = NULL);
ZELTA_EXPORT pObj_Node __SHOWTODAY(pObj_Node show = NULL);

#endif
