// Exports for windows, dialogs and controls; their folder declares them here.
#ifndef ZELTAWIN_H
#define ZELTAWIN_H

#include "zeltaobjs.h"

#endif
