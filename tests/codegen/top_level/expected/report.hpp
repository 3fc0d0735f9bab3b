void REPORT();
pObj_Node TWICE(pObj_Node N=__INIT_NIL());
 void __init_report();
