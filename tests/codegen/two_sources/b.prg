PROCEDURE SetTotal(n)
   PUBLIC gTotal := 0
   gTotal := gTotal + n
   RETURN
