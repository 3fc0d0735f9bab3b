#include "zelta.h"
void __cxt_init_001()
{
__const_add_el(__INIT_DOUBLE(0)); // 0
__const_add_el(__INIT_BOOL(False));// 1
__const_add_el(__INIT_DOUBLE(1)); // 2
__const_add_el(__INIT_BOOL(True));// 3
__const_add_el(__INIT_DOUBLE(10)); // 4
__const_add_el(__INIT_CHARCONST("app"));// 5
}
