// Statements that no rule can take whole are left as written, for the parser
// to reject: a rule must never keep part of a statement and drop the rest.
FUNCTION Main()
   ? 1 2
   ? "a" b
   ?? 3 4
   ? 1e3
   x := 1e3 + 0x1F
   SKIP 1 2
   SET INDEX TO a b
   USE cust NEW NEW
   SEEK k SOFTSEEK SOFTSEEK
   // The same commands written properly.
   ? 1, 2
   ?? 3, 4
   SET INDEX TO a, b
   USE cust NEW INDEX a INDEX b
   RETURN NIL
