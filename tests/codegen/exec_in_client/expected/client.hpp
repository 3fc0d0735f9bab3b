pObj_Node MAIN();
pObj_Node RUN(pObj_Node NWND=__INIT_NIL(),pObj_Node CPARAMS=__INIT_NIL(),pObj_Node CRESULT=__INIT_NIL(),pObj_Node NSIZE=__INIT_NIL());
 void __init_client();
