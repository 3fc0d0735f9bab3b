// Relational operators on numbers, texts and dates: = compares texts by
// their common prefix, == exactly, and $ looks for a text inside another.
FUNCTION Main()
   ? 1 < 2, 2 <= 2, 3 > 4, 4 >= 5
   ? 1 = 1, 1 == 1.0, 1 != 2, 1 # 1
   ? "abc" < "abd", "ab" < "abc", "B" > "a", "abc" >= "abc"
   ? "abc" = "ab", "ab" = "abc", "abc" == "ab", "abc" == "abc", "ab " = "ab"
   ? "" = "abc", "a" = ""
   ? CToD( "01/02/03" ) < CToD( "01/03/03" ), CToD( "05/05/05" ) == CToD( "05/05/05" )
   ? "ell" $ "hello", "xyz" $ "hello"
   RETURN NIL
