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

// fmod, with whole operands (the usual case) done in integers, which gives
// the same result far faster.
inline double zeltaRemainder(double a, double b) {
  constexpr double kExact = 9007199254740992.0;  // 2^53
  if (__builtin_fabs(a) < kExact && __builtin_fabs(b) < kExact) {
    const int64_t ia = static_cast<int64_t>(a), ib = static_cast<int64_t>(b);
    if (static_cast<double>(ia) == a && static_cast<double>(ib) == b) {
      const int64_t r = ia % ib;
      return r == 0 ? __builtin_copysign(0.0, a) : static_cast<double>(r);
    }
  }
  return __builtin_fmod(a, b);
}

#ifndef ZELTA_RUNTIME_BUILD
// Generated code does arithmetic and comparisons on two numbers in place:
// the operands are read before the temporary is taken (it may be the slot
// of one of them; a returned value's slot is locked), returned operands are
// released after, and anything else goes to the library's operator.
inline bool zeltaTwoNumbers(pObj_Node a, pObj_Node b) {
  return a && b && a->objType == T_DOUBLE && b->objType == T_DOUBLE;
}

inline pObj_Node zeltaConsumed(pObj_Node result, pObj_Node a, pObj_Node b) {
  if (__builtin_expect(zeltaReturned(a), 0)) __ReleaseReturned(a);
  if (__builtin_expect(zeltaReturned(b), 0) && b != a) __ReleaseReturned(b);
  return result;
}

inline pObj_Node zeltaNumber(double value) {
  pObj_Node t = zeltaQuickTemporary();
  if (__builtin_expect(!t, 0)) return __INIT_DOUBLE(value);
  t->objType = T_DOUBLE;
  t->objLength = -1;
  t->objData.dValue = value;
  return t;
}

#define ZELTA_INLINE_ARITHMETIC(name, result, guard)              \
  inline pObj_Node zelta_##name(pObj_Node a, pObj_Node b) {       \
    if (zeltaTwoNumbers(a, b)) {                                  \
      const double x = a->objData.dValue, y = b->objData.dValue;  \
      if (guard) return zeltaConsumed(zeltaNumber(result), a, b); \
    }                                                             \
    return (name)(a, b);                                          \
  }
ZELTA_INLINE_ARITHMETIC(__SUM, x + y, true)
ZELTA_INLINE_ARITHMETIC(__SUB, x - y, true)
ZELTA_INLINE_ARITHMETIC(__MUL, x* y, true)
ZELTA_INLINE_ARITHMETIC(__DIV, y == 0 ? 0 : x / y, true)
ZELTA_INLINE_ARITHMETIC(__FMOD, zeltaRemainder(x, y), y != 0)
#undef ZELTA_INLINE_ARITHMETIC

#define ZELTA_INLINE_COMPARISON(name, test)                                        \
  inline pObj_Node zelta_##name(pObj_Node a, pObj_Node b) {                        \
    if (zeltaTwoNumbers(a, b)) {                                                   \
      const double x = a->objData.dValue, y = b->objData.dValue;                   \
      return zeltaConsumed(glob->sysRecords[(test) ? kSysTrue : kSysFalse], a, b); \
    }                                                                              \
    return (name)(a, b);                                                           \
  }
ZELTA_INLINE_COMPARISON(__LS, x < y)
ZELTA_INLINE_COMPARISON(__LSE, !(x > y))
ZELTA_INLINE_COMPARISON(__GT, x > y)
ZELTA_INLINE_COMPARISON(__GTE, !(x < y))
ZELTA_INLINE_COMPARISON(__EEQ, x == y)
ZELTA_INLINE_COMPARISON(__EQ, x == y)
#undef ZELTA_INLINE_COMPARISON

inline pObj_Node zelta___Len(pObj_Node x) {
  if (x && x->objKind == vArray) return zeltaNumber(x->objData.header ? x->objData.header->count : 0);
  return (__Len)(x);
}
#define __Len(x) zelta___Len(x)

#define __SUM(a, b) zelta___SUM(a, b)
#define __SUB(a, b) zelta___SUB(a, b)
#define __MUL(a, b) zelta___MUL(a, b)
#define __DIV(a, b) zelta___DIV(a, b)
#define __FMOD(a, b) zelta___FMOD(a, b)
#define __LS(a, b) zelta___LS(a, b)
#define __LSE(a, b) zelta___LSE(a, b)
#define __GT(a, b) zelta___GT(a, b)
#define __GTE(a, b) zelta___GTE(a, b)
#define __EEQ(a, b) zelta___EEQ(a, b)
#define __EQ(a, b) zelta___EQ(a, b)
#endif

#endif
