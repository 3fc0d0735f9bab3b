// Indexes: INDEX ON, SET INDEX TO, SET ORDER TO, SEEK with FOUND() and
// SOFTSEEK, and the function forms; a changed key moves its record.
FUNCTION Main()
   LOCAL lFound
   dbCreate( "cities", { { "NAME", "C", 12, 0 }, { "STATE", "C", 2, 0 }, { "POP", "N", 8, 0 } } )
   USE cities NEW
   AddCity( "Recife", "PE", 1488 )
   AddCity( "Natal", "RN", 751 )
   AddCity( "Olinda", "PE", 349 )
   AddCity( "Belem", "PA", 1303 )
   INDEX ON NAME TO byname
   INDEX ON STATE + NAME TO bystate
   ? "by state:", List()
   SET ORDER TO 1
   ? "by name:", List(), IndexOrd(), IndexKey()
   SEEK "Natal"
   ? Found(), Trim( CITIES->NAME ), CITIES->POP
   SEEK "Nz"
   ? Found(), EOF()
   SEEK "O" SOFTSEEK
   ? Found(), Trim( CITIES->NAME )
   SEEK "P" SOFTSEEK
   ? Found(), Trim( CITIES->NAME )
   lFound := dbSeek( "Bel" )
   ? lFound, Trim( CITIES->NAME )
   CITIES->NAME := "Abaetetuba"
   SKIP
   ? "after the change:", List()
   SET ORDER TO
   ? "natural:", List()
   SET INDEX TO bystate
   ? IndexOrd(), List()
   dbSetOrder( 1 )
   dbGoBottom()
   ? Trim( CITIES->NAME )
   CLOSE
   USE cities INDEX byname NEW
   ? "reopened:", List()
   CLOSE ALL
   RETURN NIL

PROCEDURE AddCity( cName, cState, nPop )
   APPEND BLANK
   REPLACE NAME WITH cName, STATE WITH cState, POP WITH nPop

FUNCTION List()
   LOCAL cOut := ""
   GO TOP
   DO WHILE !EOF()
      cOut += " " + Trim( CITIES->NAME )
      SKIP
   ENDDO
   RETURN cOut
