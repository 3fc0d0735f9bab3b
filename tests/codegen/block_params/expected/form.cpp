#include "zelta.h"
void __initStatics();
static pObj_Node NBASE=NULL;
pObj_Node _tmp_=NULL;
pObj_Node NQTY=NULL;
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

pObj_Node vld_001(pObj_Node winid, pObj_Node newobj, pObj_Node value)
{
__SL(8);return __MUL(NQTY,NBASE);
}
pObj_Node MAIN()
{
pObj_Node BDOUBLE=NULL;
__begin_context();
__LockStack(__INIT_NUL());


NQTY= __SET_OBJECT(NQTY,__const_get_el(0));

;
BDOUBLE= __SET_OBJECT(BDOUBLE,__BLOCK(vld_001));
QOUT(__Eval(BDOUBLE,NULL));
return __end_context((__INIT_NIL()));
}
 void __init_form()
{
NQTY=__SET_OBJECT(NQTY,__INIT_NIL());
NBASE=__SET_OBJECT(NBASE,__INIT_NIL());
NBASE= __SET_OBJECT(NBASE,__const_get_el(1));
}

void __initStatics()
{
__const_set_amount(2);
__cxt_init_001();
__init_form();

}
