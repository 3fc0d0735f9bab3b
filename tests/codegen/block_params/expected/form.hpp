pObj_Node MAIN();
 void __init_form();
pObj_Node vld_001(pObj_Node winid, pObj_Node newobj, pObj_Node value)  ;
