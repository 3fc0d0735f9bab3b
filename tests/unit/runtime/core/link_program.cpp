// A program in the shape ezelta generates for: a function with parameters and
// locals, a FOR loop, string concatenation and ? output.
#include "zeltaobjs.h"
#include "zeltautil.h"
#include "zeltaobjs2.h"
#include "zeltamisc.h"
#include "zeltaeval.h"
#define _T(x) x
pObj_Node MAIN();
pObj_Node GREET(pObj_Node NAME = __INIT_NIL(), pObj_Node N = __INIT_NIL());
void __cxt_init_001();
void __initStatics();
pObj_Node _tmp_ = NULL;
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow) {
#ifdef _WINEMUL_
  HANDLE hWnd = FindWindow(OOW_NAME, NULL);
#else
  HANDLE hWnd = FindWindow(_T(OOW_NAME), NULL);
#endif
  if (hWnd) {
    SetForegroundWindow((HWND)(((DWORD)hWnd) | 0x01));
    return 0;
  }
  RegisterInstance(hInstance);
  if (__BeginGlobal()) {
    __begin_context();
    __initStatics();
    MAIN();
    __end_context(NULL);
    __EndGlobal();
  } else
    Alert2("ZELTA: Init Failure!");
  return 0;
}
pObj_Node MAIN() {
  pObj_Node I = NULL, LINE = NULL;
  __begin_context();
  __LockStack(__INIT_NUL());
  LINE = __SET_OBJECT(LINE, __const_get_el(0));
  for (I = __SET_OBJECT(I, __const_get_el(1));
       __GET_BOOL(__GTE(__const_get_el(1), __const_get_el(1))) ? __GET_BOOL(__LSE(I, __const_get_el(2)))
                                                               : __GET_BOOL(__GTE(I, __const_get_el(2)));
       I = __SET_OBJECT(I, __SUM(I, __const_get_el(1)))) {
    QOUT(GREET(__const_get_el(3), I));
    LINE = __SET_OBJECT(LINE, __SUM(LINE, __const_get_el(4)));
  }
  QOUT(LINE, __Len(LINE), __INIT_BOOL(True), __DIV(__const_get_el(1), __const_get_el(2)));
  QQOUT(__const_get_el(5));
  return __end_context(__INIT_NIL());
}
pObj_Node GREET(pObj_Node NAME, pObj_Node N) {
  pObj_Node S = NULL;
  __begin_context();
  __LockStack(NAME, N, __INIT_NUL());
  S = __SET_OBJECT(S, __SUM(__SUM(__const_get_el(6), NAME), __const_get_el(7)));
  return __end_context((__SUM(S, __Type(N))));
}
void __initStatics() {
  __const_set_amount(8);
  __cxt_init_001();
}
void __cxt_init_001() {
  __const_add_el(__INIT_CHARCONST(">"));        // 0
  __const_add_el(__INIT_DOUBLE(1.000000));      // 1
  __const_add_el(__INIT_DOUBLE(4.000000));      // 2
  __const_add_el(__INIT_CHARCONST("world"));    // 3
  __const_add_el(__INIT_CHARCONST("ab"));       // 4
  __const_add_el(__INIT_CHARCONST("done\n"));   // 5
  __const_add_el(__INIT_CHARCONST("Hello, "));  // 6
  __const_add_el(__INIT_CHARCONST("! "));       // 7
}
