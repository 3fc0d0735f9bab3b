// The data layer's public header: work areas, tables and indexes, fields and
// the catalog. runtime/data declares every export here, each with
// ZELTA_EXPORT.
#ifndef ZELTARDD_H
#define ZELTARDD_H

#include "zeltaobjs.h"

#endif
