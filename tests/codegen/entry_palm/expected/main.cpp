#include "zelta.h"
void __initStatics() __attribute__ ((section ("init_01")));
pObj_Node _tmp_=NULL;
extern UInt16 MathLibRef;
DWord PilotMain (Word cmd, Ptr cmdPBP, Word launchFlags)
{
  if (cmd == sysAppLaunchCmdNormalLaunch)
  {
    if(__BeginGlobal())
    {
      __begin_context();
      __initStatics();
__SetCrtID("ABCD");
if(!MathLibRef)
{
	Alert2("MathLib not found!");
	__DoSync(NULL,NULL,NULL,NULL,NULL,NULL,NULL);
}
else
{
      MAIN();
}
      __end_context(NULL);
      __EndGlobal();
    }
    else
      Alert2("ZELTA: Init Failure!");
  }
  return 0;
}

pObj_Node MAIN()
{
__begin_context();
__LockStack(__INIT_NUL());

QOUT(__const_get_el(0));
return __end_context((__INIT_NIL()));
}
 void __init_main()
{
}

void __initStatics()
{
init_seg_01();
init_seg_02();
init_seg_03();
init_seg_04();
init_seg_05();
init_seg_06();
init_seg_07();
init_seg_08();
init_seg_09();
init_seg_10();
init_seg_11();
init_seg_12();
init_seg_13();
__const_set_amount(1);
__cxt_init_001();
__init_main();

}
