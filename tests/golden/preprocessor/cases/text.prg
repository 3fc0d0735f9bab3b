// Text the rules never change, comments, continuations and line alignment.
#command SAYIT <x> => Say( <x> )
FUNCTION Main()
   LOCAL s := "SAYIT // not a comment; not a separator", t := 'SAYIT && no'
   LOCAL u := [SAYIT it's "here"], v := '', w := {[a], x[1]}
   SAYIT 1; SAYIT 2 ; n := 3 && the rest goes
   * a comment line
   n := 1 + ;
        2 + ;   // a comment after the continuation
        3
   n := 4 /* a comment
   over two lines */ + 5
   IF n <> 6 .and. n ** 2 > 1 .Y.
   ENDIF
   RETURN n
