// Exports for the synchronisation session and its connection; their folder declares them here.
#ifndef ZELTANET_H
#define ZELTANET_H

#include "zeltaobjs.h"

#endif
