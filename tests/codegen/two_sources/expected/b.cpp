#include "zelta.h"
void __initStatics();
extern pObj_Node _tmp_;
extern pObj_Node GTOTAL;
void SETTOTAL(pObj_Node N)
{
__begin_context();
__LockStack(N,__INIT_NUL());

GTOTAL= __SET_OBJECT(GTOTAL,__const_get_el(1));

GTOTAL= __SET_OBJECT(GTOTAL,__SUM(GTOTAL,N));
__end_context(NULL);return;
}
 void __init_b()
{
GTOTAL=__SET_OBJECT(GTOTAL,__INIT_NIL());
}
