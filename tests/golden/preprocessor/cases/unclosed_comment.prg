x := 1
/* this comment
   never ends
y := 2
