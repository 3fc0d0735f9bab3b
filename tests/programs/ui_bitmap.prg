// Bitmaps: a bitmap control shows as a line of the screen dump, ShowBitmap
// replaces its picture, a click calls its action.
FUNCTION Main()
   LOCAL nWin, nPic
   nWin := DlgCreate(0, 0, "Pictures", 160, 160, .T.)
   nPic := NewBitMap(nWin, 10, 20, 40, 40, "logo.bmp", .F., .T., {|| Clicked() })
   ShowBitMap(nPic, "photo.bmp")
   Button(nWin, 140, 5, "OK", {|| CloseDialog() })
   DlgActivate(nWin)
   ? "done"
   RETURN NIL

FUNCTION Clicked()
   ? "clicked"
   RETURN .T.
