// The user interface as the device builds name it: every declaration is in
// zeltaui.h, which runtime/ui keeps.
#ifndef ZELTAGUI2_H
#define ZELTAGUI2_H

#include "zeltaui.h"

#endif
