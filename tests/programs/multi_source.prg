// Two sources in one program: functions call across them both ways, PUBLICs
// declared in either source are shared, and a STATIC of the same name in
// each source stays separate.
FUNCTION Main()
   LOCAL n
   PUBLIC gnTotal := 0
   AddToTotal( 5 )
   AddToTotal( 7 )
   ? "total", gnTotal
   n := CountHere()
   n := CountHere()
   ? "here", n
   n := CountThere()
   ? "there", n
   ? "label", LibLabel( "x" )
   InitLib()
   ? "origin", gcOrigin
   RETURN NIL

// This source's counter; the other source has a STATIC of the same name.
FUNCTION CountHere()
   STATIC snCalls := 0
   snCalls++
   RETURN snCalls

FUNCTION Decorate( c )
   RETURN "<" + c + ">"
