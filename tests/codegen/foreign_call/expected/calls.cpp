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
pObj_Node NUMBERS(pObj_Node A,pObj_Node B,pObj_Node C,pObj_Node D,pObj_Node E)
{
__begin_context();
__LockStack(A,B,C,D,E,__INIT_NUL());

pObj_Node ret_obj = NULL;
ret_obj = __SET_OBJECT(ret_obj,__INIT_NIL());
char* aux=NULL;
long  lenbuf=0;
HMODULE nHdl = nHdlGetDllHandle("calc.dll");
long ret;
long (  *_numbers)(long,short,unsigned long,double,Boolean)=NULL;
_numbers=(long (*)(long,short,unsigned long,double,Boolean)) GetProcAddress(nHdl,_T("numbers"));
if(!_numbers)
{
char xmsg[1024];
xstrcpy(xmsg,"Function <numbers> not found in DLL <calc.dll>!");
Alert2(xmsg);
 __RuntimeError(FUNCTION_NOT_FOUND_IN_DLL,134);
}
{
long LA=(long)__GET_DOUBLE(A);
short SB=(short)__GET_DOUBLE(B);
unsigned long UC=(unsigned long)(long long)__GET_DOUBLE(C);
double DD=__GET_DOUBLE(D);
Boolean BE=(Boolean)__GET_BOOL(E);
ret = _numbers(LA,SB,UC,DD,BE);
}
ret_obj = __SET_OBJECT(ret_obj,__INIT_DOUBLE(ret));
return __end_context(ret_obj);
}
pObj_Node POINTERS(pObj_Node A,pObj_Node B,pObj_Node C,pObj_Node D,pObj_Node E)
{
__begin_context();
__LockStack(A,B,C,D,E,__INIT_NUL());

pObj_Node ret_obj = NULL;
ret_obj = __SET_OBJECT(ret_obj,__INIT_NIL());
char* aux=NULL;
long  lenbuf=0;
HMODULE nHdl = nHdlGetDllHandle("calc.dll");
double ret;
double (   PASCAL   *_pointers)(long*,short*,unsigned long*,double*,void *)=NULL;
_pointers=(double ( PASCAL *) (long*,short*,unsigned long*,double*,void *)) GetProcAddress(nHdl,_T("pointers"));
if(!_pointers)
{
char xmsg[1024];
xstrcpy(xmsg,"Function <pointers> not found in DLL <calc.dll>!");
Alert2(xmsg);
 __RuntimeError(FUNCTION_NOT_FOUND_IN_DLL,134);
}
{
long LA=(long)__GET_DOUBLE(A);
short SB=(short)__GET_DOUBLE(B);
unsigned long UC=(unsigned long)(long long)__GET_DOUBLE(C);
double DD=__GET_DOUBLE(D);
void* PE=__GET_PTR(E);
ret = _pointers(&LA,&SB,&UC,&DD,PE);
__SET_OBJECT(A,__INIT_DOUBLE((double)LA));
__SET_OBJECT(B,__INIT_DOUBLE((double)SB));
__SET_OBJECT(C,__INIT_DOUBLE((double)UC));
__SET_OBJECT(D,__INIT_DOUBLE(DD));
__SET_OBJECT(E,__INIT_VOIDPTR(PE));
}
ret_obj = __SET_OBJECT(ret_obj,__INIT_DOUBLE(ret));
return __end_context(ret_obj);
}
pObj_Node TEXTS(pObj_Node A,pObj_Node B,pObj_Node C)
{
__begin_context();
__LockStack(A,B,C,__INIT_NUL());

pObj_Node ret_obj = NULL;
ret_obj = __SET_OBJECT(ret_obj,__INIT_NIL());
char* aux=NULL;
long  lenbuf=0;
HMODULE nHdl = nHdlGetDllHandle("C:\\dlls\\text.dll");
char * ret;
char * (  *_texts)(char *,char *,char )=NULL;
_texts=(char * (*)(char *,char *,char )) GetProcAddress(nHdl,_T("texts"));
if(!_texts)
{
char xmsg[1024];
xstrcpy(xmsg,"Function <texts> not found in DLL <C:\\dlls\\text.dll>!");
Alert2(xmsg);
 __RuntimeError(FUNCTION_NOT_FOUND_IN_DLL,134);
}
{
if(A->objType!=T_CHARPTR) __RuntimeError(ARGUMENT_ERROR,-1);
long RA=(long)xstrlen(A->objData.mbuff)+4;
if(RA<A->objLength) RA=A->objLength;
char* SA=(char*)xmalloc(RA);
xmemset(SA,0xFF,RA);
lenbuf=(long)xstrlen(A->objData.mbuff);
Decode64((unsigned char*)A->objData.mbuff,(unsigned char*)SA,&lenbuf);
static char* SB=NULL;
if(B->objType!=T_CHARPTR) __RuntimeError(ARGUMENT_ERROR,-1);
long RB=(long)xstrlen(B->objData.mbuff)+4;
if(RB<B->objLength) RB=B->objLength;
SB=(char*)ForeignStaticBuffer((void**)&SB,RB);
xmemset(SB,0xFF,RB);
lenbuf=(long)xstrlen(B->objData.mbuff);
Decode64((unsigned char*)B->objData.mbuff,(unsigned char*)SB,&lenbuf);
if(C->objType!=T_CHARPTR) __RuntimeError(ARGUMENT_ERROR,-1);
long RC=(long)xstrlen(C->objData.mbuff)+4;
if(RC<C->objLength) RC=C->objLength;
char* SC=(char*)xmalloc(RC);
xmemset(SC,0xFF,RC);
lenbuf=(long)xstrlen(C->objData.mbuff);
Decode64((unsigned char*)C->objData.mbuff,(unsigned char*)SC,&lenbuf);
ret = _texts(SA,SB,*SC);
aux = SA;
int32_t NA=(int32_t)RA;
__SetObjLength(SA, &NA);
SA = (char*)Encode64((unsigned char*)SA, (int)NA);
xfree(aux);
__SET_OBJECT(A,__INIT_CHARPTR(SA));
FreeEncode64((unsigned char*)SA);
int32_t NB=(int32_t)RB;
__SetObjLength(SB, &NB);
 aux = (char*)Encode64((unsigned char*)SB, (int)NB);;
__SET_OBJECT(B,__INIT_CHARPTR(aux));
FreeEncode64((unsigned char*)aux);
*(SC+1)=0x00;
__SET_OBJECT(C,__INIT_CHARPTR(SC));
xfree(SC);
}
ret_obj = __SET_OBJECT(ret_obj,__INIT_CHARPTR(ret));
return __end_context(ret_obj);
}
pObj_Node BYTEBACK(pObj_Node A)
{
__begin_context();
__LockStack(A,__INIT_NUL());

pObj_Node ret_obj = NULL;
ret_obj = __SET_OBJECT(ret_obj,__INIT_NIL());
char* aux=NULL;
long  lenbuf=0;
HMODULE nHdl = nHdlGetDllHandle("text");
char  ret;
char  (  *_first)(char )=NULL;
_first=(char  (*)(char )) GetProcAddress(nHdl,_T("first"));
if(!_first)
{
char xmsg[1024];
xstrcpy(xmsg,"Function <first> not found in DLL <text>!");
Alert2(xmsg);
 __RuntimeError(FUNCTION_NOT_FOUND_IN_DLL,134);
}
{
if(A->objType!=T_CHARPTR) __RuntimeError(ARGUMENT_ERROR,-1);
long RA=(long)xstrlen(A->objData.mbuff)+4;
if(RA<A->objLength) RA=A->objLength;
char* SA=(char*)xmalloc(RA);
xmemset(SA,0xFF,RA);
lenbuf=(long)xstrlen(A->objData.mbuff);
Decode64((unsigned char*)A->objData.mbuff,(unsigned char*)SA,&lenbuf);
ret = _first(*SA);
*(SA+1)=0x00;
__SET_OBJECT(A,__INIT_CHARPTR(SA));
xfree(SA);
}
char retText[2]={ret,0};
ret_obj = __SET_OBJECT(ret_obj,__INIT_CHARPTR(retText));
return __end_context(ret_obj);
}
pObj_Node NOTHING()
{
__begin_context();
__LockStack(__INIT_NUL());

pObj_Node ret_obj = NULL;
ret_obj = __SET_OBJECT(ret_obj,__INIT_NIL());
char* aux=NULL;
long  lenbuf=0;
HMODULE nHdl = nHdlGetDllHandle("calc.dll");
void (  *_nothing)()=NULL;
_nothing=(void (*)()) GetProcAddress(nHdl,_T("nothing"));
if(!_nothing)
{
char xmsg[1024];
xstrcpy(xmsg,"Function <nothing> not found in DLL <calc.dll>!");
Alert2(xmsg);
 __RuntimeError(FUNCTION_NOT_FOUND_IN_DLL,134);
}
{
_nothing();
}

return __end_context(ret_obj);
}
pObj_Node NILRESULTS(pObj_Node A)
{
pObj_Node X=NULL;
__begin_context();
__LockStack(A,__INIT_NUL());


pObj_Node ret_obj = NULL;
ret_obj = __SET_OBJECT(ret_obj,__INIT_NIL());
char* aux=NULL;
long  lenbuf=0;
HMODULE nHdl = nHdlGetDllHandle("calc.dll");
short ret;
short (  *_shorts)(long)=NULL;
_shorts=(short (*)(long)) GetProcAddress(nHdl,_T("shorts"));
if(!_shorts)
{
char xmsg[1024];
xstrcpy(xmsg,"Function <shorts> not found in DLL <calc.dll>!");
Alert2(xmsg);
 __RuntimeError(FUNCTION_NOT_FOUND_IN_DLL,134);
}
{
long LA=(long)__GET_DOUBLE(A);
ret = _shorts(LA);
}
ret_obj = __SET_OBJECT(ret_obj,__INIT_NIL());
return __end_context(ret_obj);
}
pObj_Node RESULTS()
{
__begin_context();
__LockStack(__INIT_NUL());

pObj_Node ret_obj = NULL;
ret_obj = __SET_OBJECT(ret_obj,__INIT_NIL());
char* aux=NULL;
long  lenbuf=0;
HMODULE nHdl = nHdlGetDllHandle("calc.dll");
void * ret;
void * (   PASCAL   *_results)()=NULL;
_results=(void * ( PASCAL *) ()) GetProcAddress(nHdl,_T("results"));
if(!_results)
{
char xmsg[1024];
xstrcpy(xmsg,"Function <results> not found in DLL <calc.dll>!");
Alert2(xmsg);
 __RuntimeError(FUNCTION_NOT_FOUND_IN_DLL,134);
}
{
ret = _results();
}
ret_obj = __SET_OBJECT(ret_obj,__INIT_VOIDPTR(ret));
return __end_context(ret_obj);
}
void FILL(pObj_Node A)
{
__begin_context();
__LockStack(A,__INIT_NUL());

pObj_Node ret_obj = NULL;
ret_obj = __SET_OBJECT(ret_obj,__INIT_NIL());
char* aux=NULL;
long  lenbuf=0;
HMODULE nHdl = nHdlGetDllHandle("calc.dll");
void (  *_fill)(long*)=NULL;
_fill=(void (*)(long*)) GetProcAddress(nHdl,_T("fill"));
if(!_fill)
{
char xmsg[1024];
xstrcpy(xmsg,"Function <fill> not found in DLL <calc.dll>!");
Alert2(xmsg);
 __RuntimeError(FUNCTION_NOT_FOUND_IN_DLL,134);
}
{
long LA=(long)__GET_DOUBLE(A);
_fill(&LA);
__SET_OBJECT(A,__INIT_DOUBLE((double)LA));
}

__end_context(ret_obj);return;
}
 void __init_calls()
{
}

void __initStatics()
{
__init_calls();

}
