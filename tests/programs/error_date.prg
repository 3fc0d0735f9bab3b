// A number minus a date is a fatal ARGUMENT ERROR!, while a date minus a
// number is a date; the error also ends a loop half way.
FUNCTION Main()
   LOCAL d := CToD( "01/10/20" ), i
   FOR i := 1 TO 3
      ? d - i
      IF i == 2
         ? i - d
      ENDIF
   NEXT
   RETURN NIL
