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

return __end_context((__INIT_NIL()));
}
pObj_Node RUN(pObj_Node NWND,pObj_Node CPARAMS,pObj_Node CRESULT,pObj_Node NSIZE)
{
__begin_context();
__LockStack(NWND,CPARAMS,CRESULT,NSIZE,__INIT_NUL());

;
CRESULT= __SET_OBJECT(CRESULT,__const_get_el(0));
return __end_context((__const_get_el(1)));
}
 void __init_client()
{
}
extern "C"
{
long WINAPI  ExecInClientDLL(long,char *,char *,long);
}
static pObj_Node __ExitErro(void){ throw "Error";}
long WINAPI  ExecInClientDLL(long nWnd,char * cParams,char * cResult,long nSize)
{
try{
__BeginGlobal();
__begin_context();
__initStatics();
char msg[256];
pObj_Node nWnd_obj = __SET_OBJECT(NULL,__INIT_DOUBLE(nWnd));
int aParamSz = (int)xstrlen(cParams);
sprintf(msg, "aParams -> %p - aParamSz=%d ", (void*)cParams, aParamSz);
__WriteMsgLog(msg);
pObj_Node aParamAux = __ALLOC_CHARPTR(aParamSz + 128);
 xmemcpy(aParamAux->objData.mbuff,cParams, aParamSz);
pObj_Node cParams_obj = __SET_OBJECT(NULL, aParamAux);
pObj_Node cResult_obj = __SET_OBJECT(NULL,__INIT_CHARPTR(""));
pObj_Node nSize_obj = __SET_OBJECT(NULL,__INIT_DOUBLE(nSize));
__RegisterExit(__ExitErro);
SETBUFFSIZE(cResult_obj,nSize_obj);
pObj_Node ret_obj = __SET_OBJECT(NULL,RUN(nWnd_obj,cParams_obj,cResult_obj,nSize_obj));
int ParamSize = 0;
ParamSize = 4096;
if(ParamSize > 0 ){
 memset(cResult,0x00,ParamSize);
xstrncpy(cResult,(char*)__GET_STRING(cResult_obj),ParamSize);
}
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

void __initStatics()
{
__const_set_amount(2);
__cxt_init_001();
__init_client();

}
