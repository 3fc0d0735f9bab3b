// The commands of ezelta.ch and the calls they become.
FUNCTION Main()
   LOCAL i, a := {}
   USE customer ALIAS cust NEW SHARED READONLY INDEX byname, bycode
   USE (cFile) VIA "LOCAL" EXCLUSIVE
   USE
   SELECT cust
   SELECT 2
   GO TOP
   GO BOTTOM
   GOTO 10
   GO n + 1
   SKIP
   SKIP -2
   SKIP 1 ALIAS cust
   APPEND BLANK
   REPLACE name WITH "Ann", code WITH i + 1
   DELETE
   RECALL
   PACK
   ZAP
   COMMIT
   INDEX ON name + code TO byname
   SET INDEX TO byname, bycode
   SET INDEX TO
   SET ORDER TO 2
   SET ORDER TO
   SEEK "Ann"
   SEEK "Ann" SOFTSEEK
   CLOSE cust
   CLOSE
   CLOSE DATABASES
   CLOSE ALL
   SET DATE AMERICAN
   SET DATE TO GERMAN
   SET DATE FORMAT TO "yyyy-mm-dd"
   SET CENTURY ON
   SET CENTURY OFF
   SET EPOCH TO 1980
   SET DELETED ON
   SET DELETED OFF
   ? "a", i
   ?
   ?? "no newline"
   DO WHILE i < 3
      i++
   END WHILE
   DO WHILE .T.
      EXIT
   ENDDO
   FOR i := 1 TO 3
   NEXT i
   FOR i := 1 TO 3
   END FOR
   IF i > 1
   END IF
   STORE 0 TO i, n
   DEFAULT i TO 1, n TO 2
   i := AScan( a, 3 ) + AScan( a, 3, 2, 4 )
   ASort( a, 2 )
   RETURN NIL
