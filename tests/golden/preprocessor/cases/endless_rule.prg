#command GROW <x> => GROW (<x>) + (<x>)
#translate Loop( <x> ) => Loop( <x> + 1 )
GROW 1
n := Loop( 1 )
#define SELF SELF + 1
n := SELF
#define TWO(a, b) a + b
n := TWO(1)
