pObj_Node MAIN() __attribute__ ((section ("usr_001")));
 void __init_main() __attribute__ ((section ("usr_001")));
