// Exports for the grids and the database browser; their folder declares them here.
#ifndef ZELTADBBROWSE_H
#define ZELTADBBROWSE_H

#include "zeltaobjs.h"

#endif
