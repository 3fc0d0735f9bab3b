// Eval() computes an arithmetic expression given as text, with variables
// from an array of {name, value} pairs: precedence, parentheses, functions,
// any letter case, and -1 for a division by zero or an unknown variable.
FUNCTION Main()
   LOCAL aVars := { { "X", 4 }, { "rate", 0.5 } }
   ? Eval( "(X+2)*3", aVars ), Eval( "X+2*3", aVars )
   ? Eval( "2^3^2", aVars ), Eval( "-3+5", aVars ), Eval( "10-4-3", aVars )
   ? Eval( "sqrt(16)+X", aVars ), Eval( "x * RATE", aVars )
   ? Eval( "1/0", aVars ), Eval( "Y+1", aVars )
   RETURN NIL
