pObj_Node FLAG(pObj_Node X=__INIT_NIL());
pObj_Node PICK(pObj_Node X=__INIT_NIL());
 void __init_stock();
