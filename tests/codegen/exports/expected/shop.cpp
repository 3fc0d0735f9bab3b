#include "zelta.h"
void __initStatics();
pObj_Node _tmp_=NULL;
int WINAPI WinMain(	HINSTANCE hInstance,HINSTANCE hPrevInstance,LPTSTR lpCmdLine,int nCmdShow)
{
#ifdef _WINEMUL_
  HANDLE hWnd = FindWindow(OOW_NAME, NULL);
#else
  HANDLE hWnd = FindWindow(_T(OOW_NAME), NULL);
#endif
  if (hWnd)
  {
    SetForegroundWindow ((HWND) (((DWORD)hWnd) | 0x01));
    return 0;
   }
   RegisterInstance(hInstance);
  if(__BeginGlobal())
  {
      __begin_context();
    __initStatics();
      MAIN();
      __end_context(NULL);
    __EndGlobal();
  }
  else
    Alert2("ZELTA: Init Failure!");
  return 0;
}

pObj_Node MAIN()
{
__begin_context();
__LockStack(__INIT_NUL());

return __end_context((__INIT_NIL()));
}
pObj_Node SUM(pObj_Node A,pObj_Node B)
{
__begin_context();
__LockStack(A,B,__INIT_NUL());

;
return __end_context((__SUM(A,B)));
}
pObj_Node DESCRIBE(pObj_Node N,pObj_Node D,pObj_Node S,pObj_Node C,pObj_Node P,pObj_Node F,pObj_Node W,pObj_Node T)
{
__begin_context();
__LockStack(N,D,S,C,P,F,W,T,__INIT_NUL());

;
return __end_context((__const_get_el(0)));
}
void TOUCH(pObj_Node V)
{
__begin_context();
__LockStack(V,__INIT_NUL());

;
V= __SET_OBJECT(V,__const_get_el(1));
__end_context(NULL);return;
}
 void __init_shop()
{
}
extern "C"
{
long WINAPI  Soma(long,long);
char * WINAPI  Describe(unsigned long,double,char *,char ,void *,Boolean,short*,double*);
void WINAPI  Touch(long*);
}
static pObj_Node __ExitErro(void){ throw "Error";}
long WINAPI  Soma(long a,long b)
{
try{
__BeginGlobal();
__begin_context();
__initStatics();
pObj_Node a_obj = __SET_OBJECT(NULL,__INIT_DOUBLE((double)a));
pObj_Node b_obj = __SET_OBJECT(NULL,__INIT_DOUBLE((double)b));
pObj_Node ret_obj = __SET_OBJECT(NULL,SUM(a_obj,b_obj));
int ParamSize = 0;
long ret = (int)__GET_DOUBLE(ret_obj);
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
char * WINAPI  Describe(unsigned long n,double d,char * s,char  c,void * p,Boolean f,short* w,double* t)
{
try{
__BeginGlobal();
__begin_context();
__initStatics();
pObj_Node n_obj = __SET_OBJECT(NULL,__INIT_DOUBLE((double)n));
pObj_Node d_obj = __SET_OBJECT(NULL,__INIT_DOUBLE((double)d));
pObj_Node s_obj = __SET_OBJECT(NULL,__INIT_CHARPTR(s ? s : ""));
char c_chr[2]={c,0};
pObj_Node c_obj = __SET_OBJECT(NULL,__INIT_CHARPTR(c_chr));
pObj_Node p_obj = __SET_OBJECT(NULL,__INIT_VOIDPTR(p));
pObj_Node f_obj = __SET_OBJECT(NULL,__INIT_BOOL(f));
pObj_Node w_obj = __SET_OBJECT(NULL,__INIT_DOUBLE(w ? (double)*w : 0));
pObj_Node t_obj = __SET_OBJECT(NULL,__INIT_DOUBLE(t ? (double)*t : 0));
pObj_Node ret_obj = __SET_OBJECT(NULL,DESCRIBE(n_obj,d_obj,__ByRef(&s_obj),c_obj,p_obj,f_obj,__ByRef(&w_obj),__ByRef(&t_obj)));
int ParamSize = 0;
if(s && s_obj->objType==T_CHARPTR && __GET_STRING(s_obj) && strcmp(s,__GET_STRING(s_obj))!=0)
{
ParamSize = (int)xstrlen(s) + 1;
memset(s, 0x00, ParamSize);
xstrncpy(s,__GET_STRING(s_obj), ParamSize-1);
}
if(w && w_obj->objType==T_DOUBLE) *w = (short)__GET_DOUBLE(w_obj);
if(t && t_obj->objType==T_DOUBLE) *t = (double)__GET_DOUBLE(t_obj);
char * ret = ExportText(ret_obj);
__end_context(NULL);
__EndGlobal();
return ret;
}
 catch(...){
printf("SAIU PELO CATCH.....");
return NULL;
}
 return 0;
}
void WINAPI  Touch(long* v)
{
try{
__BeginGlobal();
__begin_context();
__initStatics();
pObj_Node v_obj = __SET_OBJECT(NULL,__INIT_DOUBLE(v ? (double)*v : 0));
TOUCH(__ByRef(&v_obj));
pObj_Node ret_obj = __SET_OBJECT(NULL,__INIT_NIL());
int ParamSize = 0;
if(v && v_obj->objType==T_DOUBLE) *v = (long)__GET_DOUBLE(v_obj);
__end_context(NULL);
__EndGlobal();
return;
}
 catch(...){
printf("SAIU PELO CATCH.....");
return;
}
;
}

void __initStatics()
{
__const_set_amount(4);
__cxt_init_001();
__init_shop();

__init_stock();

}
