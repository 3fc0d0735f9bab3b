// The grids and the database browser: part of the user interface, whose
// exports are declared in zeltaui.h. Every target's shared header includes
// this one, so the host build sees the user interface through it.
#ifndef ZELTADBBROWSE_H
#define ZELTADBBROWSE_H

#include "zeltaui.h"

#endif
