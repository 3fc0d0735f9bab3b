#include "zelta.h"
void __cxt_init_001()
{
__const_add_el(__INIT_DOUBLE(3)); // 0
__const_add_el(__INIT_CHARCONST("lines"));// 1
__const_add_el(__INIT_DOUBLE(2)); // 2
}
