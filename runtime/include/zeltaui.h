// The user interface's public header: windows, dialogs and controls, grids
// and the browser, menus, timers, bitmaps and printing. runtime/ui declares
// every export here, each with ZELTA_EXPORT. The host build reaches it
// through zeltadbbrowse.h; the device headers (zeltagui.h, zeltagui2.h,
// zeltawin.h) include it too, so every target sees one set of declarations.
// The message boxes belong to the core (zeltamisc.h); the user interface
// only draws them.
#ifndef ZELTAUI_H
#define ZELTAUI_H

#include "zeltaobjs.h"

#endif
