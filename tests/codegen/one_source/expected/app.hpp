pObj_Node MAIN();
void SHOW(pObj_Node NVALUE=__INIT_NIL(),pObj_Node CLABEL=__INIT_NIL());
 void __init_app();
