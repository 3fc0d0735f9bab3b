// Work areas: create a table, append records through alias->field, read
// them back in natural order and through an index, seek whole and partial
// keys, go to a record by number, and close the area.
// A seek's result is kept before it is printed: the arguments of one call
// are not evaluated in a fixed order.
FUNCTION Main()
   LOCAL aStru := { { "ID", "N", 6, 0 }, { "NAME", "C", 10, 0 }, { "JOINED", "D", 8, 0 }, { "ACTIVE", "L", 1, 0 } }
   LOCAL aNames := { "Carla", "Ana", "Duda", "Bruno" }, i, lFound
   dbCreate( "people", aStru )
   dbUseArea( .T., NIL, "people", "PEO", .F., .F. )
   ? Used(), Alias(), FCount(), RecCount(), EOF(), BOF()
   FOR i := 1 TO Len( aNames )
      dbAppend()
      PEO->ID := i
      PEO->NAME := aNames[ i ]
      PEO->JOINED := CToD( "01/10/20" ) + i
      PEO->ACTIVE := ( i % 2 == 1 )
   NEXT
   dbCommit()
   ? RecCount()
   dbGoTop()
   DO WHILE !EOF()
      ? RecNo(), PEO->ID, Trim( PEO->NAME ), PEO->JOINED, PEO->ACTIVE, Len( PEO->NAME )
      dbSkip()
   ENDDO
   dbCreateIndex( "peoname", "NAME" )
   ? "by name:"
   dbGoTop()
   DO WHILE !EOF()
      ?? " " + Trim( PEO->NAME )
      dbSkip()
   ENDDO
   lFound := dbSeek( "Duda" )
   ? lFound, Found(), PEO->ID
   lFound := dbSeek( "Zeca" )
   ? lFound, Found(), EOF()
   lFound := dbSeek( "Br" )
   ? lFound, Trim( PEO->NAME )
   dbGoto( 2 )
   ? RecNo(), Trim( PEO->NAME )
   dbCloseArea()
   RETURN NIL
