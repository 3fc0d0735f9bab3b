// Second source of multi_source.prg; not a program of its own.
FUNCTION AddToTotal( n )
   gnTotal += n
   RETURN gnTotal

FUNCTION CountThere()
   STATIC snCalls := 40
   snCalls++
   RETURN snCalls

FUNCTION LibLabel( c )
   RETURN Decorate( Upper( c ) )

PROCEDURE InitLib()
   PUBLIC gcOrigin := "set in the second source"
