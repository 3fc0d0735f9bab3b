// The user interface as the device builds name it: every declaration is in
// zeltaui.h, which runtime/ui keeps.
#ifndef ZELTAWIN_H
#define ZELTAWIN_H

#include "zeltaui.h"

#endif
