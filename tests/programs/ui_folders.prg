// Folders: controls created after SetFolder go onto that page and show
// only while it is the current page; Tab reaches only what is shown.
FUNCTION Main()
   LOCAL nWin, nFolder, cA := "a", cB := "b"
   nWin := DlgCreate(0, 0, "Pages", 160, 160, .T.)
   nFolder := NewFolder(nWin, 5, 5, {"Main", "Extra"})
   SetFolder(nFolder, 1)
   Say(nWin, 20, 5, "On main")
   Get(nWin, 20, 60, @cA)
   SetFolder(nFolder, 2)
   Say(nWin, 20, 5, "On extra")
   Get(nWin, 20, 60, @cB)
   SetFolder(nFolder, 0)
   Button(nWin, 140, 5, "OK", {|| CloseDialog() })
   SetFolder(nFolder, 1)
   DlgActivate(nWin)
   ? cA, cB, GetObjValue(nFolder)
   RETURN NIL
