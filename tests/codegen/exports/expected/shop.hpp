pObj_Node MAIN();
pObj_Node SUM(pObj_Node A=__INIT_NIL(),pObj_Node B=__INIT_NIL());
pObj_Node DESCRIBE(pObj_Node N=__INIT_NIL(),pObj_Node D=__INIT_NIL(),pObj_Node S=__INIT_NIL(),pObj_Node C=__INIT_NIL(),pObj_Node P=__INIT_NIL(),pObj_Node F=__INIT_NIL(),pObj_Node W=__INIT_NIL(),pObj_Node T=__INIT_NIL());
void TOUCH(pObj_Node V=__INIT_NIL());
 void __init_shop();
