#include "zelta.h"
void __initStatics();
pObj_Node _tmp_=NULL;
BOOL APIENTRY DllMain( HANDLE hModule, DWORD  ul_reason_for_call, LPVOID lpReserved)
{
	__SetBackWindow(False);
	SetCheckBuffer(True);

	switch (ul_reason_for_call){
	case DLL_PROCESS_ATTACH:
	    __LoadLIB();
		break;
	case DLL_THREAD_ATTACH:
		break;
	case DLL_THREAD_DETACH:
		break;
	case DLL_PROCESS_DETACH:
	    __UnloadLIB();
	break;}
return TRUE;
}

pObj_Node MAIN()
{
__begin_context();
__LockStack(__INIT_NUL());

QOUT(__const_get_el(0));
return __end_context((__INIT_NIL()));
}
 void __init_main()
{
}

void __initStatics()
{
__const_set_amount(1);
__cxt_init_001();
__init_main();

}
