// Fonetizar replaces a text with its phonetic key through the phonetic
// library installed beside the run-time: names that sound alike get one key.
FUNCTION Main()
   LOCAL a, b, n
   a := "Souza"
   b := "Sousa"
   n := Fonetizar( "F", a )
   Fonetizar( "F", b )
   ? a, b, n, a == b
   a := "Thiago de Souza"
   b := "Tiago Sousa"
   Fonetizar( "N", a )
   Fonetizar( "N", b )
   ? a, b, a == b
   a := "Luis"
   b := "Lucas"
   Fonetizar( "F", a )
   Fonetizar( "F", b )
   ? a, b, a == b
   RETURN NIL
