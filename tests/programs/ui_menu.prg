// Menus: items go onto the last bar entry only (AddMenuItem on an earlier
// entry adds nothing and returns NIL); choosing an item calls its action,
// by the script's "menu" line and with F10 and the keys.
FUNCTION Main()
   LOCAL nWin, nFile, nEdit
   nWin := DlgCreate(0, 0, "Menus", 160, 160, .T.)
   nFile := AddMenuBar(nWin, "File")
   ? AddMenuItem(nFile, "Open", {|| Said("open") })
   nEdit := AddMenuBar(nWin, "Edit")
   ? AddMenuItem(nFile, "Save", {|| Said("save") })
   ? AddMenuItem(nEdit, "Copy", {|| Said("copy") })
   ? AddMenuItem(nEdit, "Quit", {|| CloseDialog() })
   DlgActivate(nWin)
   ? "closed"
   RETURN NIL

FUNCTION Said(cWhat)
   ? "menu", cWhat
   RETURN .T.
