#include "zelta.h"
void __cxt_init_001()
{
__const_add_el(__INIT_CHARCONST("hello"));// 0
}
