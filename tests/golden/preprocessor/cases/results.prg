// Result markers: regular, dumb stringify, normal stringify, smart
// stringify, blockify and logify, matched and unmatched, and over lists.
#command SHOWIT <x> [TITLE <t>] [<on: ON>] => ;
   Disp( <x>, #<x>, <"x">, <(x)>, <{x}>, <.on.>, <t>, #<t>, <"t">, <.t.> )
#command SHOWLIST <x,...> => Disp( <x> | <"x"> | <(x)> | <{x}> )
FUNCTION Main()
   SHOWIT a + 1
   SHOWIT "text" TITLE it ON
   SHOWIT (b) TITLE 'quoted "x"'
   SHOWIT 12
   SHOWIT {|| x }
   SHOWLIST a, "b", (c), 3
   RETURN NIL
