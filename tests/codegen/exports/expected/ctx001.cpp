#include "zelta.h"
void __cxt_init_001()
{
__const_add_el(__INIT_CHARCONST("x"));// 0
__const_add_el(__INIT_DOUBLE(1)); // 1
__const_add_el(__INIT_DOUBLE(0)); // 2
__const_add_el(__INIT_CHARCONST("y"));// 3
}
