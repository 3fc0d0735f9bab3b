#include "zelta.h"
void __cxt_init_001()
{
__const_add_el(__INIT_DOUBLE(1)); // 0
__const_add_el(__INIT_DOUBLE(2)); // 1
}
