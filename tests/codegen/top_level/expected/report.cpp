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
      REPORT();
      __end_context(NULL);
    __EndGlobal();
  }
  else
    Alert2("ZELTA: Init Failure!");
  return 0;
}

void REPORT()
{
pObj_Node NLINES=NULL;
__begin_context();
__LockStack(__INIT_NUL());
NLINES= __SET_OBJECT(NLINES,__const_get_el(0));

QOUT(__const_get_el(1), TWICE(NLINES));
__end_context(NULL);return;
}
pObj_Node TWICE(pObj_Node N)
{
__begin_context();
__LockStack(N,__INIT_NUL());

return __end_context((__MUL(N,__const_get_el(2))));
}
 void __init_report()
{
}

void __initStatics()
{
__const_set_amount(3);
__cxt_init_001();
__init_report();

}
