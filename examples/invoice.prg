// Invoice totals: the customer and the lines of an order are kept in two
// tables, created and filled on the first run and read back on every run;
// each line is priced with a quantity discount, taxed, and printed as a
// small invoice whose due date is moved off the weekend.

FUNCTION Main()
   LOCAL nGross, nDisc, nUnits := 0, nSubtotal := 0, nDiscounts := 0, nLines := 0
   LOCAL nTax, nTotal, nBiggest := 0, cBiggest := "", cHead, cRow, dIssued

   IF !File( "CUSTOMER" ) .OR. !File( "INVLINE" )
      CreateTables()
   ENDIF
   USE customer NEW
   USE invline NEW

   dIssued := CUSTOMER->ISSUED
   ? "INVOICE " + Transform( CUSTOMER->INVOICE, "@R 9999-9999" )
   ? "Customer: " + Upper( Trim( CUSTOMER->NAME ) )
   ? "Issued:   " + DToC( dIssued ) + "   Due: " + DToC( DueDate( dIssued, CUSTOMER->TERMS ) )
   ? Replicate( "-", 64 )
   cHead := PadR( "Code", 7 ) + PadR( "Description", 20 ) + PadL( "Qty", 5 )
   ? cHead + PadL( "Price", 10 ) + PadL( "Amount", 12 ) + PadL( "Disc", 10 )
   SELECT invline
   GO TOP
   DO WHILE !EOF()
      nGross := INVLINE->QTY * INVLINE->PRICE
      nDisc := Round( nGross * DiscountRate( INVLINE->QTY ), 2 )
      nUnits += INVLINE->QTY
      nSubtotal += nGross
      nDiscounts += nDisc
      nLines++
      IF nGross > nBiggest
         nBiggest := nGross
         cBiggest := Trim( INVLINE->CODE )
      ENDIF
      cRow := INVLINE->CODE + " " + INVLINE->DESCR + Str( INVLINE->QTY, 5 )
      ? cRow + Str( INVLINE->PRICE, 10, 2 ) + Str( nGross, 12, 2 ) + Str( nDisc, 10, 2 )
      SKIP
   ENDDO
   CLOSE ALL
   nTax := Round( ( nSubtotal - nDiscounts ) * 0.08, 2 )
   nTotal := nSubtotal - nDiscounts + nTax
   ? Replicate( "-", 64 )
   ? PadL( "Subtotal", 52 ) + Str( nSubtotal, 12, 2 )
   ? PadL( "Discounts", 52 ) + Str( -nDiscounts, 12, 2 )
   ? PadL( "Sales tax", 52 ) + Str( nTax, 12, 2 )
   ? PadL( "TOTAL", 52 ) + Str( nTotal, 12, 2 )
   ? AllTrim( Str( nLines ) ) + " lines,", AllTrim( Str( nUnits ) ) + " units,"
   ?? " largest line " + cBiggest
   RETURN NIL

// The first run keeps the order in tables; later runs only read them.
PROCEDURE CreateTables()
   dbCreate( "customer", { { "INVOICE", "C", 8, 0 }, { "NAME", "C", 30, 0 }, ;
                           { "ISSUED", "D", 8, 0 }, { "TERMS", "N", 3, 0 } } )
   dbCreate( "invline", { { "CODE", "C", 6, 0 }, { "DESCR", "C", 20, 0 }, ;
                          { "QTY", "N", 5, 0 }, { "PRICE", "N", 10, 2 } } )
   USE customer NEW
   APPEND BLANK
   REPLACE INVOICE WITH "20240117", NAME WITH "Mercado Boa Vista"
   REPLACE ISSUED WITH CToD( "03/28/24" ), TERMS WITH 30
   USE invline NEW
   AddLine( "A-100", "Hand scanner", 2, 189.90 )
   AddLine( "B-220", "Thermal paper roll", 40, 3.25 )
   AddLine( "C-310", "Battery pack", 5, 42.00 )
   AddLine( "D-405", "Carrying case", 1, 27.50 )
   CLOSE ALL

PROCEDURE AddLine( cCode, cText, nQty, nPrice )
   APPEND BLANK
   REPLACE CODE WITH cCode, DESCR WITH cText, QTY WITH nQty, PRICE WITH nPrice

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
