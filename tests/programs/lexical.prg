// Lexical forms: keywords in any letter case and cut to four letters, both
// quote styles, block and line comments, and numbers with fractions.
func Main()
   loca cSingle := 'single', cDouble := "it's"
   /* a block comment
      over two lines */
   ? cSingle, cDouble   // a line comment
   ? .5 + 1.25, 10.0, 007, 1.50
   IF .t. .and. .T.
      ? "lower-case logicals"
   endi
   ? UPPER( "mixed" ), upper( "case" ), Len( "" )
   retu nil
