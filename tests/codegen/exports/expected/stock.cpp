#include "zelta.h"
void __initStatics();
extern pObj_Node _tmp_;
pObj_Node FLAG(pObj_Node X)
{
__begin_context();
__LockStack(X,__INIT_NUL());

;
return __end_context((__GT(X,__const_get_el(2))));
}
pObj_Node PICK(pObj_Node X)
{
__begin_context();
__LockStack(X,__INIT_NUL());

;
return __end_context((__const_get_el(3)));
}
 void __init_stock()
{
}
extern "C"
{
Boolean WINAPI  Flag(unsigned long);
char  WINAPI  Pick(short);
}
static pObj_Node __ExitErro(void){ throw "Error";}
Boolean WINAPI  Flag(unsigned long x)
{
try{
__BeginGlobal();
__begin_context();
__initStatics();
pObj_Node x_obj = __SET_OBJECT(NULL,__INIT_DOUBLE((double)x));
pObj_Node ret_obj = __SET_OBJECT(NULL,FLAG(x_obj));
int ParamSize = 0;
Boolean ret = (Boolean)__GET_BOOL(ret_obj);
__end_context(NULL);
__EndGlobal();
return ret;
}
 catch(...){
printf("SAIU PELO CATCH.....");
return -9999;
}
 return 0;
}
char  WINAPI  Pick(short x)
{
try{
__BeginGlobal();
__begin_context();
__initStatics();
pObj_Node x_obj = __SET_OBJECT(NULL,__INIT_DOUBLE((double)x));
pObj_Node ret_obj = __SET_OBJECT(NULL,PICK(x_obj));
int ParamSize = 0;
char  ret = (ret_obj->objType==T_CHARPTR && __GET_STRING(ret_obj) ? __GET_STRING(ret_obj)[0] : 0);
__end_context(NULL);
__EndGlobal();
return ret;
}
 catch(...){
printf("SAIU PELO CATCH.....");
return -9999;
}
 return 0;
}
