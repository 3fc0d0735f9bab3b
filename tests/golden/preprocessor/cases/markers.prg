// Match markers and optional clauses: regular, list, restricted, wild and
// extended markers; clauses in any order, repeated and nested; keywords
// abbreviated for #command but not for #xcommand; #translate anywhere.
#command OPEN <(file)> [ALIAS <a>] [<ro: READONLY, RDONLY>] [VIA <v>] => dbOpen( <(file)>, <(a)>, <.ro.>, <v> )
#command LIST <x,...> => ListOut( <x> )
#command PAIRS <k> = <v> [, <kN> = <vN> [WEIGHT <w>]] => MakePair( <k>, <v> ) [; MakePair( <kN>, <vN>, <w> )]
#command IGNORE <*rest*> => Ignored( #<rest> )
#xcommand EXACTLY <x> => Exact( <x> )
#translate TWICE( <x> ) => ( <x> * 2 )
FUNCTION Main()
   OPEN cust.dbf
   OPEN (cName) VIA "LOCAL" RDONLY ALIAS c
   OPEN "x" READ
   OPEN x READONLY ALIAS y
   LIST 1, a + b, Foo( 1, 2 ), { 1, 2 }
   PAIRS a = 1, b = 2 WEIGHT 3, c = 4
   IGNORE anything at all; IGNORE
   EXACTLY 1
   EXAC 2
   n := TWICE( 3 ) + TWICE( TWICE( n ) )
   ign tail
   RETURN n
