pObj_Node MAIN();
 void __init_plain();
