// Code blocks held as values: assigned, copied, kept in an array, passed to a
// function and returned from it. Outside dialogs a block is never evaluated,
// so each is only told apart from NIL.
FUNCTION Main()
   LOCAL bOne := {|| 1 }
   LOCAL bCopy, bNone, aBlocks := {}
   bCopy := bOne
   AAdd( aBlocks, {|| 2 } )
   AAdd( aBlocks, bCopy )
   ? IsSet( bOne ), IsSet( bCopy ), IsSet( bNone )
   ? Len( aBlocks ), IsSet( aBlocks[ 1 ] ), IsSet( aBlocks[ 2 ] )
   ? IsSet( Keep( {|| 3 } ) ), IsSet( Keep( NIL ) )
   bOne := NIL
   ? IsSet( bOne ), IsSet( bCopy )
   RETURN NIL

FUNCTION IsSet( x )
   RETURN x <> NIL

FUNCTION Keep( b )
   LOCAL kept := b
   RETURN kept
