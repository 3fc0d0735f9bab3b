// Invoice totals: the lines of an order are kept in an array of arrays,
// priced with a quantity discount, taxed, and printed as a small invoice
// whose due date is moved off the weekend.

FUNCTION Main()
   LOCAL aLines := {}, i
   LOCAL dIssued := CToD( "03/28/24" )
   LOCAL nGross, nDisc, nUnits := 0, nSubtotal := 0, nDiscounts := 0
   LOCAL nTax, nTotal, nBiggest := 0, cBiggest := "", cHead, cRow

   AddLine( aLines, "A-100", "Hand scanner", 2, 189.90 )
   AddLine( aLines, "B-220", "Thermal paper roll", 40, 3.25 )
   AddLine( aLines, "C-310", "Battery pack", 5, 42.00 )
   AddLine( aLines, "D-405", "Carrying case", 1, 27.50 )

   ? "INVOICE " + Transform( "20240117", "@R 9999-9999" )
   ? "Customer: " + Upper( "Mercado Boa Vista" )
   ? "Issued:   " + DToC( dIssued ) + "   Due: " + DToC( DueDate( dIssued, 30 ) )
   ? Replicate( "-", 64 )
   cHead := PadR( "Code", 7 ) + PadR( "Description", 20 ) + PadL( "Qty", 5 )
   ? cHead + PadL( "Price", 10 ) + PadL( "Amount", 12 ) + PadL( "Disc", 10 )
   FOR i := 1 TO Len( aLines )
      nGross := aLines[ i, 3 ] * aLines[ i, 4 ]
      nDisc := Round( nGross * DiscountRate( aLines[ i, 3 ] ), 2 )
      nUnits += aLines[ i, 3 ]
      nSubtotal += nGross
      nDiscounts += nDisc
      IF nGross > nBiggest
         nBiggest := nGross
         cBiggest := aLines[ i, 1 ]
      ENDIF
      cRow := PadR( aLines[ i, 1 ], 7 ) + PadR( aLines[ i, 2 ], 20 ) + Str( aLines[ i, 3 ], 5 )
      ? cRow + Str( aLines[ i, 4 ], 10, 2 ) + Str( nGross, 12, 2 ) + Str( nDisc, 10, 2 )
   NEXT
   nTax := Round( ( nSubtotal - nDiscounts ) * 0.08, 2 )
   nTotal := nSubtotal - nDiscounts + nTax
   ? Replicate( "-", 64 )
   ? PadL( "Subtotal", 52 ) + Str( nSubtotal, 12, 2 )
   ? PadL( "Discounts", 52 ) + Str( -nDiscounts, 12, 2 )
   ? PadL( "Sales tax", 52 ) + Str( nTax, 12, 2 )
   ? PadL( "TOTAL", 52 ) + Str( nTotal, 12, 2 )
   ? AllTrim( Str( Len( aLines ) ) ) + " lines,", AllTrim( Str( nUnits ) ) + " units,"
   ?? " largest line " + cBiggest
   RETURN NIL

PROCEDURE AddLine( aLines, cCode, cText, nQty, nPrice )
   AAdd( aLines, { cCode, cText, nQty, nPrice } )

// Bulk buyers get a discount on the line's gross amount.
FUNCTION DiscountRate( nQty )
   DO CASE
   CASE nQty >= 40
      RETURN 0.10
   CASE nQty >= 5
      RETURN 0.05
   ENDCASE
   RETURN 0

// Payment falls due n days after issue, or on the Monday after a weekend.
FUNCTION DueDate( dIssued, nDays )
   LOCAL dDue := dIssued + nDays
   DO CASE
   CASE DoW( dDue ) == 7
      dDue += 2
   CASE DoW( dDue ) == 1
      dDue += 1
   ENDCASE
   RETURN dDue
