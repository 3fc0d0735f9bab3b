#include "zeltaobjs.h"
#include "zeltautil.h"
#include "zeltaobjs2.h"
#include "zeltamisc.h"
#include "zeltadate.h"
#include "zeltaarray.h"
#include "zeltastring.h"
#include "zeltadbbrowse.h"
#include "zeltaeval.h"
#include "zeltardd.h"
#include "zeltanet.h"
#include "zeltarpc.h"
#define _T(x) x
#define __FULL_WIN_DEBUG__ x
#include "shop.hpp"
#include "stock.hpp"
void __cxt_init_001();
