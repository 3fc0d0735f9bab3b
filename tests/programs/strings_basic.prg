// Basic text functions: concatenation, Len, Upper and Lower, Left, Right and
// SubStr, including what they give at and beyond the ends of the text.
FUNCTION Main()
   LOCAL s := "Zelta"
   ? s + " " + "CE", Len( s ), Len( "" ), Len( s + s )
   ? Upper( s ), Lower( s ), Upper( "a1-b" )
   ? Left( s, 2 ), Right( s, 3 ), SubStr( s, 2, 3 ), SubStr( s, 3 )
   ? Left( s, 9 ), Right( s, 9 ), SubStr( s, 4, 10 )
   ? Left( s, 0 ), SubStr( s, 9 ), SubStr( s, 0, 2 ), SubStr( s, 2, 0 )
   RETURN NIL
