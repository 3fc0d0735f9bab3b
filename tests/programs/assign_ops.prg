// Assignment forms: :=, a chained :=, the compound operators, and ++ and --
// before and after their operand, as statements and inside expressions.
FUNCTION Main()
   LOCAL x, y, z
   x := y := 5
   ? x, y
   x += 3
   ? x
   x -= 1
   ? x
   x *= 4
   ? x
   x /= 8
   ? x
   z := x++
   ? z, x
   z := ++x
   ? z, x
   z := x--
   ? z, x
   z := --x
   ? z, x
   y++
   --y
   ++y
   ? y
   y := "ab"
   y += "cd"
   ? y
   RETURN NIL
