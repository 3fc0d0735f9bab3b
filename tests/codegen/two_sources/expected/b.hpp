void SETTOTAL(pObj_Node N=__INIT_NIL());
 void __init_b();
