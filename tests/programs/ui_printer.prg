// The line printer: nothing is printed before LoadPrint; then texts go
// to "pda.txt" at their rows and columns, PRow and PCol report where the
// printer stands, and UnLoadPrint closes it (TRUE also when none is open).
// Each step shows itself in the information window ("[Info]" lines).
FUNCTION Main()
   LOCAL xResult
   xResult := PrintSay(1, 1, "lost")
   ? "before loading:", xResult, IsPrintOn(), PRow(), PCol()
   xResult := LoadPrint()
   ? "loaded:", xResult
   ? "on:", IsPrintOn()
   PrintSay(0, 0, "Invoice 17")
   PrintSay(2, 4, "apple")
   PrintSay(2, 20, "3")
   ? "at:", PRow(), PCol()
   xResult := PrintCommand("bold")
   ? "command:", xResult
   xResult := UnLoadPrint()
   ? "unloaded:", xResult
   ? "on:", IsPrintOn()
   xResult := UnLoadPrint()
   ? "again:", xResult
   RETURN NIL
