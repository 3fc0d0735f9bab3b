// Operators and generic functions: each checks its operand types once on
// entry (ARGUMENT ERROR! otherwise) and returns a new temporary, a shared
// TRUE/FALSE record or one of its operands.
#include "core.h"

#include <math.h>
#include <string.h>

#include "day_number.h"
#include "zeltaobjs2.h"

namespace {

[[noreturn]] void argumentError() { __RuntimeError(ARGUMENT_ERROR, -1); }

pObj_Node orOne(pObj_Node x) { return x ? x : core::systemRecord(kSysOne); }
pObj_Node orNil(pObj_Node x) { return x ? x : __INIT_NIL(); }

bool isDouble(pObj_Node x) { return x->objType == T_DOUBLE; }
bool bothDouble(pObj_Node a, pObj_Node b) { return isDouble(a) && isDouble(b); }
double num(pObj_Node x) { return x->objData.dValue; }

const char* text(pObj_Node x) { return x->objData.mbuff ? x->objData.mbuff : ""; }

// Bytes a string contributes to a concatenation. The 2-byte empty string of
// __INIT_CHARPTR("") counts as empty, so its zero never hides the text after it.
int32_t concatLength(pObj_Node s) {
  if (!s->objData.mbuff || s->objLength < 1) return 1;
  if (s->objLength == 2 && s->objData.mbuff[0] == 0) return 1;
  return s->objLength;
}

pObj_Node concatenate(pObj_Node a, pObj_Node b) {
  const int32_t la = concatLength(a), lb = concatLength(b);
  const size_t bytes = core::stringBufferBytes(la + lb - 1);
  char* out = core::allocStringBytes(bytes);
  size_t written;
  if (core::binaryBuffers()) {
    memcpy(out, text(a), static_cast<size_t>(la - 1));
    written = static_cast<size_t>(la - 1);
    if (b->objData.mbuff) {
      memcpy(out + la - 1, text(b), static_cast<size_t>(lb));
      written += static_cast<size_t>(lb);
    }
  } else {
    const size_t na = strnlen(text(a), static_cast<size_t>(la - 1));
    const size_t nb = strnlen(text(b), static_cast<size_t>(lb));
    memcpy(out, text(a), na);
    memcpy(out + na, text(b), nb);
    written = na + nb;
  }
  memset(out + written, 0, bytes - written);
  // Taken only now: the slot may be one of the operands, freed on reuse.
  pObj_Node r = core::takeTemporary();
  r->objType = T_CHARPTR;
  r->objData.mbuff = out;
  r->objLength = la + lb - 1;
  return r;
}

int compareStrings(pObj_Node a, pObj_Node b) {
  return strcmp(text(a), text(b));  // strcmp compares as unsigned char
}

// -1, 0, 1 for two values of one ordered type.
int order(pObj_Node a, pObj_Node b) {
  a = orOne(a);
  b = orOne(b);
  if (a->objType != b->objType) argumentError();
  switch (a->objType) {
    case T_CHARPTR: {
      const int c = compareStrings(a, b);
      return (c > 0) - (c < 0);
    }
    case T_DATE:
    case T_DOUBLE: return (num(a) > num(b)) - (num(a) < num(b));
    default: argumentError();
  }
}

pObj_Node predicate(bool value) { return __INIT_BOOL(value ? 1 : 0); }

pObj_Node oneDouble(pObj_Node x, double (*f)(double)) {
  if (!x || !isDouble(x)) argumentError();
  return __INIT_DOUBLE(f(num(x)));
}

pObj_Node step(pObj_Node x, double delta, bool returnOld) {
  if (!x || !isDouble(x)) argumentError();
  const double old = num(x);
  x->objData.dValue = old + delta;
  return returnOld ? __INIT_DOUBLE(old) : x;
}

}  // namespace

namespace core {

double roundNumber(double x, int decimals) {
  static const double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  const unsigned places = static_cast<unsigned>(decimals < 0 ? -decimals : decimals);
  double p;
  if (places < sizeof kPowers / sizeof kPowers[0]) {
    p = kPowers[places];
  } else {
    p = 1;
    double base = 10;
    for (unsigned n = places; n; n >>= 1) {
      if (n & 1) p *= base;
      base *= base;
    }
  }
  if (decimals < 0) p = 1 / p;
  const double y = fabs(x) * p;
  const double i = floor(y);
  const double magnitude = (y - i < 0.49999999999999 ? i : i + 1) / p;
  return x < 0 ? -magnitude : magnitude;
}

}  // namespace core

pObj_Node __AddTod(pObj_Node date, pObj_Node days) {
  if (!date || !days || date->objType != T_DATE || !isDouble(days)) argumentError();
  const core::CivilDate d = core::decodeDayNumber(num(date));
  const double shift = trunc(num(days));
  if (fabs(shift) > 4e7) argumentError();
  const long day = core::encodeDayNumber(d.year, d.month, d.day + static_cast<int>(shift));
  if (day <= 0) argumentError();
  return __INIT_DATE(static_cast<double>(day));
}

pObj_Node __SubTod(pObj_Node date, pObj_Node x) {
  if (!date || !x || date->objType != T_DATE) argumentError();
  if (x->objType == T_DATE) return __INIT_DOUBLE(floor(num(date)) - floor(num(x)));
  return __AddTod(date, __INV(x));
}

static pObj_Node applySum(pObj_Node a, pObj_Node b) {
  a = orOne(a);
  b = orOne(b);
  if (a->objType == T_CHARPTR && b->objType == T_CHARPTR) return concatenate(a, b);
  if (a->objType == T_DATE && isDouble(b)) return __AddTod(a, b);
  if (bothDouble(a, b)) return __INIT_DOUBLE(num(a) + num(b));
  argumentError();
}

static pObj_Node applySub(pObj_Node a, pObj_Node b) {
  a = orOne(a);
  b = orOne(b);
  if (a->objType == T_DATE && (b->objType == T_DATE || isDouble(b))) return __SubTod(a, b);
  if (bothDouble(a, b)) return __INIT_DOUBLE(num(a) - num(b));
  argumentError();
}

static pObj_Node applyMul(pObj_Node a, pObj_Node b) {
  a = orOne(a);
  b = orOne(b);
  if (!bothDouble(a, b)) argumentError();
  return __INIT_DOUBLE(num(a) * num(b));
}

static pObj_Node applyDiv(pObj_Node a, pObj_Node b) {
  a = orOne(a);
  b = orOne(b);
  if (!bothDouble(a, b)) argumentError();
  return __INIT_DOUBLE(num(b) == 0 ? 0 : num(a) / num(b));
}

static pObj_Node applyFmod(pObj_Node a, pObj_Node b) {
  a = orOne(a);
  b = orOne(b);
  if (!bothDouble(a, b) || num(b) == 0) argumentError();
  return __INIT_DOUBLE(zeltaRemainder(num(a), num(b)));
}

static pObj_Node applyPow(pObj_Node a, pObj_Node b) {
  a = orOne(a);
  b = orOne(b);
  if (!bothDouble(a, b)) argumentError();
  return __INIT_DOUBLE(pow(num(a), num(b)));
}

pObj_Node __INV(pObj_Node a) {
  a = orOne(a);
  switch (a->objType) {
    case T_DOUBLE: return __INIT_DOUBLE(-num(a));
    case T_BOOL: return predicate(!__GET_BOOL(a));
    case T_NIL: return __INIT_BOOL(1);
    default: argumentError();
  }
}

pObj_Node __PREINCREMENT(pObj_Node x) { return step(x, 1, false); }
pObj_Node __PREDECREMENT(pObj_Node x) { return step(x, -1, false); }
pObj_Node __POSTINCREMENT(pObj_Node x) { return step(x, 1, true); }
pObj_Node __POSTDECREMENT(pObj_Node x) { return step(x, -1, true); }

static pObj_Node applyLs(pObj_Node a, pObj_Node b) { return predicate(order(a, b) < 0); }
static pObj_Node applyLse(pObj_Node a, pObj_Node b) { return predicate(order(a, b) <= 0); }
static pObj_Node applyGt(pObj_Node a, pObj_Node b) { return predicate(order(a, b) > 0); }
static pObj_Node applyGte(pObj_Node a, pObj_Node b) { return predicate(order(a, b) >= 0); }

static pObj_Node applyEeq(pObj_Node a, pObj_Node b) {
  a = orNil(a);
  b = orNil(b);
  if (b->objType == T_NIL) return predicate(a->objType == T_NIL);
  if (a->objType != b->objType) argumentError();
  switch (a->objType) {
    case T_CHARPTR: return predicate(strcmp(text(a), text(b)) == 0);
    case T_DATE:
    case T_DOUBLE: return predicate(num(a) == num(b));
    case T_BOOL: return predicate(__GET_BOOL(a) == __GET_BOOL(b));
    default: argumentError();
  }
}

static pObj_Node applyEq(pObj_Node a, pObj_Node b) {
  a = orNil(a);
  b = orNil(b);
  if (b->objType == T_NIL) return predicate(a->objType == T_NIL);
  if (a->objType != b->objType) argumentError();
  switch (a->objType) {
    case T_CHARPTR: {
      if (!a->objData.mbuff || !b->objData.mbuff) return predicate(false);
      const int32_t n = (a->objLength < b->objLength ? a->objLength : b->objLength) - 1;
      if (n <= 0) return predicate(false);
      return predicate(memcmp(a->objData.mbuff, b->objData.mbuff, static_cast<size_t>(n)) == 0);
    }
    case T_DATE:
    case T_DOUBLE: return predicate(num(a) == num(b));
    case T_BOOL: return predicate(__GET_BOOL(a) == __GET_BOOL(b));
    default: argumentError();
  }
}

pObj_Node __DIFF(pObj_Node a, pObj_Node b) { return __INV(__EQ(a, b)); }

pObj_Node __IN(pObj_Node a, pObj_Node b) {
  if (!a || !b || a->objType != T_CHARPTR || b->objType != T_CHARPTR) argumentError();
  return predicate(strstr(text(b), text(a)) != nullptr);
}

pObj_Node __AND(pObj_Node a, pObj_Node b) {
  a = a ? a : __INIT_BOOL(1);
  b = b ? b : __INIT_BOOL(1);
  if (a->objType != T_BOOL || b->objType != T_BOOL) argumentError();
  return predicate(__GET_BOOL(a) && __GET_BOOL(b));
}

pObj_Node __OR(pObj_Node a, pObj_Node b) {
  a = a ? a : __INIT_BOOL(1);
  b = b ? b : __INIT_BOOL(1);
  if (a->objType != T_BOOL || b->objType != T_BOOL) argumentError();
  return predicate(__GET_BOOL(a) || __GET_BOOL(b));
}

pObj_Node __Type(pObj_Node x) {
  if (!x) argumentError();
  const char* letter = "U";
  switch (x->objType) {
    case T_CHARPTR: letter = "C"; break;
    case T_ARRAY: letter = "A"; break;
    case T_DATE: letter = "D"; break;
    case T_DOUBLE: letter = "N"; break;
    case T_BOOL: letter = "L"; break;
    default: break;
  }
  return __INIT_CHARPTR(letter);
}

pObj_Node __Empty(pObj_Node x) {
  if (!x) argumentError();
  if (x->objKind == vArray) return predicate(!x->objData.header || x->objData.header->count == 0);
  switch (x->objType) {
    case T_CHARPTR: {
      if (!x->objData.mbuff) return predicate(true);
      const int32_t limit = x->objLength - 1;
      for (int32_t i = 0; i < limit && x->objData.mbuff[i]; ++i) {
        if (x->objData.mbuff[i] != ' ') return predicate(false);
      }
      return predicate(true);
    }
    case T_DATE:
    case T_DOUBLE: return predicate(num(x) == 0);
    case T_BOOL: return predicate(!__GET_BOOL(x));
    default: return predicate(true);
  }
}

pObj_Node __Len(pObj_Node x) {
  if (!x) return __INIT_DOUBLE(-1);
  switch (x->objKind) {
    case vArray: return __INIT_DOUBLE(x->objData.header ? x->objData.header->count : 0);
    case vVariable:
    case vConstant:
    case vStack:
    case vElArray:
      if (x->objType != T_CHARPTR) argumentError();
      return __INIT_DOUBLE(static_cast<double>(strlen(text(x))));
    default: argumentError();
  }
}

pObj_Node __If(int condition, pObj_Node a, pObj_Node b) {
  if (!a || !b || a->objType != b->objType) argumentError();
  return condition ? a : b;
}

pObj_Node __Max(pObj_Node a, pObj_Node b) {
  if (!a || !b || a->objType != b->objType || (!isDouble(a) && a->objType != T_DATE)) argumentError();
  return num(a) > num(b) ? a : b;
}

pObj_Node __Min(pObj_Node a, pObj_Node b) {
  if (!a || !b || a->objType != b->objType || (!isDouble(a) && a->objType != T_DATE)) argumentError();
  return num(a) < num(b) ? a : b;
}

pObj_Node __Abs(pObj_Node x) { return oneDouble(x, fabs); }
pObj_Node __Sqrt(pObj_Node x) { return oneDouble(x, sqrt); }
pObj_Node __Exp(pObj_Node x) { return oneDouble(x, exp); }
pObj_Node __Log(pObj_Node x) { return oneDouble(x, log); }
pObj_Node __Log_10(pObj_Node x) { return oneDouble(x, log10); }

pObj_Node __Int(pObj_Node x) {
  if (!x || !isDouble(x)) argumentError();
  const double r = core::roundNumber(num(x), 1);
  return __INIT_DOUBLE(r > 0 ? floor(r) : ceil(r));
}

pObj_Node __Round(pObj_Node x, pObj_Node decimals) {
  if (!x || !decimals || !bothDouble(x, decimals)) argumentError();
  const double n = trunc(num(decimals));
  if (!(fabs(n) < 300)) argumentError();
  return __INIT_DOUBLE(core::roundNumber(num(x), static_cast<int>(n)));
}

// The binary operators consume their operands: a value returned by a
// function into this context is dead once used, so its ring lock goes.
__attribute__((always_inline)) static inline pObj_Node consumed(pObj_Node result, pObj_Node a, pObj_Node b) {
  if (a != result) core::releaseReturned(a);
  if (b != result && b != a) core::releaseReturned(b);
  return result;
}

pObj_Node __SUM(pObj_Node a, pObj_Node b) { return consumed(applySum(a, b), a, b); }
pObj_Node __SUB(pObj_Node a, pObj_Node b) { return consumed(applySub(a, b), a, b); }
pObj_Node __MUL(pObj_Node a, pObj_Node b) { return consumed(applyMul(a, b), a, b); }
pObj_Node __DIV(pObj_Node a, pObj_Node b) { return consumed(applyDiv(a, b), a, b); }
pObj_Node __FMOD(pObj_Node a, pObj_Node b) { return consumed(applyFmod(a, b), a, b); }
pObj_Node __POW(pObj_Node a, pObj_Node b) { return consumed(applyPow(a, b), a, b); }
pObj_Node __EEQ(pObj_Node a, pObj_Node b) { return consumed(applyEeq(a, b), a, b); }
pObj_Node __EQ(pObj_Node a, pObj_Node b) { return consumed(applyEq(a, b), a, b); }
pObj_Node __LS(pObj_Node a, pObj_Node b) { return consumed(applyLs(a, b), a, b); }
pObj_Node __LSE(pObj_Node a, pObj_Node b) { return consumed(applyLse(a, b), a, b); }
pObj_Node __GT(pObj_Node a, pObj_Node b) { return consumed(applyGt(a, b), a, b); }
pObj_Node __GTE(pObj_Node a, pObj_Node b) { return consumed(applyGte(a, b), a, b); }
