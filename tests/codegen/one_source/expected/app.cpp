#include "zelta.h"
void __initStatics();
static pObj_Node NCOUNT=NULL;
static pObj_Node CNAME=NULL;
pObj_Node _tmp_=NULL;
pObj_Node GLAST=NULL;
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
pObj_Node NTOTAL=NULL;
__begin_context();
__LockStack(__INIT_NUL());
__SF("MAIN");

NTOTAL= __SET_OBJECT(NTOTAL,__const_get_el(0));

GLAST= __SET_OBJECT(GLAST,__const_get_el(1));

__SL(8);NTOTAL= __SET_OBJECT(NTOTAL,__SUM(NCOUNT,__const_get_el(2)));
__SL(9);SHOW(NTOTAL, CNAME);
__SL(10);return __end_context((NTOTAL));
}
void SHOW(pObj_Node NVALUE,pObj_Node CLABEL)
{
__begin_context();
__LockStack(NVALUE,CLABEL,__INIT_NUL());
__SF("SHOW");

__SL(13);QOUT(CLABEL, NVALUE, NCOUNT);
__SL(14);GLAST= __SET_OBJECT(GLAST,__const_get_el(3));
__SL(15);__end_context(NULL);return;
}
 void __init_app()
{
GLAST=__SET_OBJECT(GLAST,__INIT_NIL());
__SetVarDegubgInfo(GLAST,"app","GLAST",false);

NCOUNT=__SET_OBJECT(NCOUNT,__INIT_NIL());
CNAME=__SET_OBJECT(CNAME,__INIT_NIL());
NCOUNT= __SET_OBJECT(NCOUNT,__const_get_el(4));
CNAME= __SET_OBJECT(CNAME,__const_get_el(5));
}

void __initStatics()
{
__const_set_amount(6);
__cxt_init_001();
__init_app();

}
