// STATIC variables keep their value between calls and get their initial
// value once, at start-up, not at each call.
FUNCTION Main()
   LOCAL n
   n := NextId()
   ? n
   n := NextId()
   ? n
   ? NextId()
   n := Total( 5 )
   n := Total( 10 )
   ? n
   ? Total( 0 )
   RETURN NIL

FUNCTION NextId()
   STATIC nId := 100
   nId++
   RETURN nId

FUNCTION Total( n )
   STATIC nSum := 0
   nSum += n
   RETURN nSum
