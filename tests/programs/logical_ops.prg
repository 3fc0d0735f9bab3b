// Logical operators: .AND. binds tighter than .OR., ! and .NOT. negate, and
// both .AND. and .OR. skip their right operand when the left one decides.
FUNCTION Main()
   LOCAL l
   ? .T. .AND. .F., .T. .OR. .F., .NOT. .T., !.F.
   ? .T. .OR. .F. .AND. .F., ( .T. .OR. .F. ) .AND. .F.
   ? !( 1 > 2 ) .AND. 3 > 2, .F. .OR. .F. .OR. .T.
   l := .F. .AND. Mark( "a" )
   ? l
   l := .T. .OR. Mark( "b" )
   ? l
   l := .T. .AND. Mark( "c" )
   ? l
   l := .F. .OR. Mark( "d" )
   ? l
   RETURN NIL

FUNCTION Mark( cName )
   ? "called " + cName
   RETURN .T.
