// The data layer's public header: work areas, tables and indexes, fields and
// the catalog. runtime/data declares every export here, each with
// ZELTA_EXPORT.
#ifndef ZELTARDD_H
#define ZELTARDD_H

#include "zeltaobjs.h"

// TRUE when a file of that name exists (a relative name against the current
// directory); a name that is not a string raises ARGUMENT ERROR.
ZELTA_EXPORT pObj_Node __File(pObj_Node name);

#endif
