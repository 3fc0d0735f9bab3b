// Array functions: ASize, AIns, ADel, AFill, AClone (a deep copy),
// SortArray both ways and on rows by their second column, ScanArray, and
// Empty on arrays.
FUNCTION Main()
   LOCAL a := { 1, 2, 3 }, b, c
   ASize( a, 5 )
   ? Show( a )
   ASize( a, 1 )
   ? Show( a )
   a := { 1, 2, 3 }
   AIns( a, 1 )
   ? Show( a )
   a := { 1, 2, 3 }
   ADel( a, 2 )
   ? Show( a )
   a := { 1, 2, 3, 4, 5 }
   AFill( a, 0, 2, 2 )
   ? Show( a )
   b := { { "x", 1 }, { "y", 2 } }
   c := AClone( b )
   c[ 1, 2 ] := 99
   ? Show( b ), Show( c )
   a := { 5, 3, 9, 1 }
   SortArray( a )
   ? Show( a )
   SortArray( a, 1, 4, .F. )
   ? Show( a )
   b := { { "carla", 31 }, { "ana", 25 }, { "bruno", 40 } }
   SortArray( b )
   ? Show( b )
   ? ScanArray( a, 3 ), ScanArray( a, 7 ), ScanArray( b, 40 ), ScanArray( { "a", "b" }, "b" )
   ? Empty( {} ), Empty( a ), Len( {} )
   RETURN NIL

// The array written as {1,2,NIL}, nested arrays included.
FUNCTION Show( a )
   LOCAL c := "", i
   FOR i := 1 TO Len( a )
      IF i > 1
         c += ","
      ENDIF
      c += Item( a[ i ] )
   NEXT
   RETURN "{" + c + "}"

FUNCTION Item( x )
   DO CASE
   CASE x == NIL
      RETURN "NIL"
   CASE ValType( x ) == "N"
      RETURN AllTrim( Str( x ) )
   CASE ValType( x ) == "C"
      RETURN x
   CASE ValType( x ) == "A"
      RETURN Show( x )
   ENDCASE
   RETURN "?"
