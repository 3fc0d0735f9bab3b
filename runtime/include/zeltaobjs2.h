// Operators and the generic functions the compiler maps directly. Every
// result is a new stack temporary unless stated; predicates return the
// shared TRUE and FALSE records. A null operand of the arithmetic and
// ordering operators stands for 1, of __EQ and __EEQ for NIL.
#ifndef ZELTAOBJS2_H
#define ZELTAOBJS2_H

#include "zeltaobjs.h"

ZELTA_EXPORT pObj_Node __SUM(pObj_Node a, pObj_Node b);
ZELTA_EXPORT pObj_Node __SUB(pObj_Node a, pObj_Node b);
ZELTA_EXPORT pObj_Node __MUL(pObj_Node a, pObj_Node b);
ZELTA_EXPORT pObj_Node __DIV(pObj_Node a, pObj_Node b);
ZELTA_EXPORT pObj_Node __FMOD(pObj_Node a, pObj_Node b);
ZELTA_EXPORT pObj_Node __POW(pObj_Node a, pObj_Node b);
ZELTA_EXPORT pObj_Node __INV(pObj_Node a);
ZELTA_EXPORT pObj_Node __AddTod(pObj_Node date, pObj_Node days);
ZELTA_EXPORT pObj_Node __SubTod(pObj_Node date, pObj_Node x);

ZELTA_EXPORT pObj_Node __PREINCREMENT(pObj_Node x);
ZELTA_EXPORT pObj_Node __PREDECREMENT(pObj_Node x);
ZELTA_EXPORT pObj_Node __POSTINCREMENT(pObj_Node x);
ZELTA_EXPORT pObj_Node __POSTDECREMENT(pObj_Node x);

ZELTA_EXPORT pObj_Node __LS(pObj_Node a, pObj_Node b);
ZELTA_EXPORT pObj_Node __LSE(pObj_Node a, pObj_Node b);
ZELTA_EXPORT pObj_Node __GT(pObj_Node a, pObj_Node b);
ZELTA_EXPORT pObj_Node __GTE(pObj_Node a, pObj_Node b);
ZELTA_EXPORT pObj_Node __EEQ(pObj_Node a, pObj_Node b);
ZELTA_EXPORT pObj_Node __EQ(pObj_Node a, pObj_Node b);
ZELTA_EXPORT pObj_Node __AND(pObj_Node a, pObj_Node b);
ZELTA_EXPORT pObj_Node __OR(pObj_Node a, pObj_Node b);
// a <> b: the opposite of a = b.
ZELTA_EXPORT pObj_Node __DIFF(pObj_Node a, pObj_Node b);
// a $ b: TRUE when the text of a occurs in the text of b.
ZELTA_EXPORT pObj_Node __IN(pObj_Node a, pObj_Node b);

// A code block used as a value: its function's address in a pointer value.
#define __BLOCK(function) __INIT_VOIDPTR(reinterpret_cast<void*>(function))

ZELTA_EXPORT pObj_Node __Type(pObj_Node x);
ZELTA_EXPORT pObj_Node __Empty(pObj_Node x);
ZELTA_EXPORT pObj_Node __Len(pObj_Node x);
ZELTA_EXPORT pObj_Node __If(int condition, pObj_Node a, pObj_Node b);
ZELTA_EXPORT pObj_Node __Max(pObj_Node a, pObj_Node b);
ZELTA_EXPORT pObj_Node __Min(pObj_Node a, pObj_Node b);
ZELTA_EXPORT pObj_Node __Abs(pObj_Node x);
ZELTA_EXPORT pObj_Node __Sqrt(pObj_Node x);
ZELTA_EXPORT pObj_Node __Exp(pObj_Node x);
ZELTA_EXPORT pObj_Node __Log(pObj_Node x);
ZELTA_EXPORT pObj_Node __Log_10(pObj_Node x);
ZELTA_EXPORT pObj_Node __Int(pObj_Node x);
ZELTA_EXPORT pObj_Node __Round(pObj_Node x, pObj_Node decimals);

#endif
