// Arithmetic on numbers: + - * / % ^, precedence, unary minus and the sign
// of a remainder. ^ binds like * and /, and all three group to the left.
FUNCTION Main()
   LOCAL a := 7, b := 2
   ? a + b, a - b, a * b, a / b
   ? a % b, -a % b, a % -b, 7.5 % 2
   ? 2 ^ 10, 2 ^ -1, 9 ^ 0.5, 2 * 3 ^ 2
   ? 2 + 3 * 4, ( 2 + 3 ) * 4, 20 - 4 - 3, 64 / 4 / 2
   ? -a + b, a * -b, -( a - b ), +b
   ? 1.5 + 2.25, .5 * 4, 0.1 + 0.2 == 0.3
   RETURN NIL
