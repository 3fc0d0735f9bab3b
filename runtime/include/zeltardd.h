// Exports for work areas, tables and indexes; their folder declares them here.
#ifndef ZELTARDD_H
#define ZELTARDD_H

#include "zeltaobjs.h"

#endif
