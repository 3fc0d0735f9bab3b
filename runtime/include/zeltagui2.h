// Exports for windows, dialogs and controls; their folder declares them here.
#ifndef ZELTAGUI2_H
#define ZELTAGUI2_H

#include "zeltaobjs.h"

#endif
