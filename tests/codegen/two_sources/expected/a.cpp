#include "zelta.h"
void __initStatics();
pObj_Node _tmp_=NULL;
pObj_Node GTOTAL=NULL;
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

SETTOTAL(__const_get_el(0));
QOUT(GTOTAL);
return __end_context((__INIT_NIL()));
}
 void __init_a()
{
}

void __initStatics()
{
__const_set_amount(2);
__cxt_init_001();
__init_a();

__init_b();

}
