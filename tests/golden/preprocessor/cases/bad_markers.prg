#command FOO <x> => QOut( <x )
#command BAR <x => QOut( <x> )
#command BAZ <x: ON, OFF => QOut( <x> )
#xtranslate Q(<x>) => #<x
#command LESS <a> <b> => IIF( <a> < <b>, 1, 0 )
FOO 1
LESS 1 2
