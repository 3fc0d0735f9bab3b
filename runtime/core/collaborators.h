// Exports of the other run-time folders that the core calls at context end,
// at start and end of the application and on a fatal error. They are weak
// references: a build without that folder (the core's own tests) runs
// without them, and the core falls back where it has to.
#ifndef ZELTA_CORE_COLLABORATORS_H
#define ZELTA_CORE_COLLABORATORS_H

#include "zeltaobjs.h"

#define ZELTA_WEAK __attribute__((weak))

pObj_Node __KillArray(pObj_Node array) ZELTA_WEAK;
void __KillWin() ZELTA_WEAK;
pObj_Node __dbCloseAll() ZELTA_WEAK;
void __InstanceBackWindow() ZELTA_WEAK;
pObj_Node __DoSync(pObj_Node type, pObj_Node host, pObj_Node port, pObj_Node timeout, pObj_Node user, pObj_Node device,
                   pObj_Node filter) ZELTA_WEAK;
pObj_Node __GetFieldByName(pObj_Node alias, pObj_Node field) ZELTA_WEAK;

#endif
