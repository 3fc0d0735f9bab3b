// The string functions of the language, pictures (__Transform) and the
// number-to-text formatter. Every result is a new stack temporary unless
// stated. Positions given as language values are 1-based DOUBLEs.
#ifndef ZELTASTRING_H
#define ZELTASTRING_H

#include "zeltaobjs.h"

ZELTA_EXPORT pObj_Node __AllTrim(pObj_Node s);
ZELTA_EXPORT pObj_Node __LTrim(pObj_Node s);
ZELTA_EXPORT pObj_Node __RTrim(pObj_Node s);
ZELTA_EXPORT pObj_Node __Upper(pObj_Node s);
ZELTA_EXPORT pObj_Node __Lower(pObj_Node s);
ZELTA_EXPORT pObj_Node __Asc(pObj_Node s);
ZELTA_EXPORT pObj_Node __Chr(pObj_Node n);
ZELTA_EXPORT pObj_Node __At(pObj_Node needle, pObj_Node s);
ZELTA_EXPORT pObj_Node __Rat(pObj_Node needle, pObj_Node s);
ZELTA_EXPORT pObj_Node __Left(pObj_Node s, pObj_Node n);
ZELTA_EXPORT pObj_Node __Right(pObj_Node s, pObj_Node n);
ZELTA_EXPORT pObj_Node __SubStr(pObj_Node s, pObj_Node start = NULL, pObj_Node count = NULL);
ZELTA_EXPORT pObj_Node __PadR(pObj_Node s, pObj_Node n, pObj_Node fill = NULL);
ZELTA_EXPORT pObj_Node __PadL(pObj_Node s, pObj_Node n, pObj_Node fill = NULL);
ZELTA_EXPORT pObj_Node __PadC(pObj_Node s, pObj_Node n, pObj_Node fill = NULL);
ZELTA_EXPORT pObj_Node __Pad(pObj_Node s, pObj_Node n, pObj_Node fill = NULL);
ZELTA_EXPORT pObj_Node __Replicate(pObj_Node s, pObj_Node n);
ZELTA_EXPORT pObj_Node __Space(pObj_Node n);
ZELTA_EXPORT pObj_Node __StrTran(pObj_Node s, pObj_Node search, pObj_Node replace = NULL, pObj_Node start = NULL,
                                 pObj_Node count = NULL);
ZELTA_EXPORT pObj_Node __Stuff(pObj_Node s, pObj_Node pos, pObj_Node del, pObj_Node ins);
ZELTA_EXPORT pObj_Node __Str(pObj_Node n, pObj_Node len = NULL, pObj_Node dec = NULL);
ZELTA_EXPORT pObj_Node __StrZero(pObj_Node n, pObj_Node len = NULL, pObj_Node dec = NULL);
ZELTA_EXPORT pObj_Node __Val(pObj_Node s);
ZELTA_EXPORT pObj_Node __IsAlpha(pObj_Node s);
ZELTA_EXPORT pObj_Node __IsDigit(pObj_Node s);

// Pictures: "@!" upper case, "@R" template, "@E" numeric, "@D" date.
ZELTA_EXPORT int __GetMaskType(const char* picture);
ZELTA_EXPORT pObj_Node __Transform(pObj_Node value, pObj_Node picture);
ZELTA_EXPORT pObj_Node NOROUND(pObj_Node x, pObj_Node n);
ZELTA_EXPORT pObj_Node __ValidCPF(pObj_Node text);
ZELTA_EXPORT pObj_Node __ValidCGC(pObj_Node text);
// The phonetic key of `text`, which it replaces; the result is the key's
// length, or -1 when the phonetic library cannot be loaded or fails. A mode
// starting with "F" keys every word, any other the words of a name without
// its particles (da, de, dos ...).
ZELTA_EXPORT pObj_Node __Fonetizar(pObj_Node mode, pObj_Node text);

// The number as __Str shows it (rounded, the locale's decimal separator),
// without padding, written into `buffer` of `size` bytes; returns buffer.
ZELTA_EXPORT char* printDouble(char* buffer, int size, double x, int decimals);

#endif
