// Exports for windows, dialogs and controls; their folder declares them here.
#ifndef ZELTAGUI_H
#define ZELTAGUI_H

#include "zeltaobjs.h"

#endif
