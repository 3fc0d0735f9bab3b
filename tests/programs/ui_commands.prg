// The dialog commands of the standard header: DEFINE and ACTIVATE DIALOG,
// @ ... SAY, GET (with PICTURE and VALID), BUTTON, CHECKBOX, LISTBOX,
// COMBOBOX and MENU; a VALID condition sees the caller's locals.
FUNCTION Main()
   LOCAL oDlg, oMenu, nQty := 1, nMax := 9, lPaid := .F., nSize := 2, nKind := 1, nId
   DEFINE DIALOG oDlg TITLE "Commands"
   @ 10, 5 SAY "Qty:" OF oDlg
   @ 10, 50 GET nQty PICTURE "99" VALID nQty <= nMax OF oDlg ID nId
   @ 25, 5 CHECKBOX lPaid PROMPT "Paid" OF oDlg
   @ 40, 5 LISTBOX nSize ITEMS {"S", "M", "L"} OF oDlg
   @ 100, 5 COMBOBOX nKind ITEMS {"cash", "card"} OF oDlg
   @ 140, 5 BUTTON "OK" ACTION CloseDialog() OF oDlg
   MENU oMenu CAPTION "File" OF oDlg
   MENUITEM "Quit" ACTION CloseDialog() OF oMenu
   ACTIVATE DIALOG oDlg
   ? nId, nQty, lPaid, nSize, nKind
   RETURN NIL
