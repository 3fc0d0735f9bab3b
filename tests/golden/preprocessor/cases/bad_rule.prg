#command NOARROW <x>
#command OPEN [<x> => Open( <x> )
#command SHOW <x> => Show( <y> )
#define F(a
s := "unterminated
