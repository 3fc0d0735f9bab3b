// Figures for the array index and for string building, driven through the
// same calls generated code makes: AAdd in a loop, indexed reads and writes
// over every element, nested arrays, and s := s + "x". Each figure is the
// time for n elements; linear growth shows as a constant time per element.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core.h"
#include "zeltaarray.h"
#include "zeltaobjs2.h"

namespace {

double seconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// FOR i := 1 TO n; AAdd(a, i); NEXT, then a[i] := a[i] * 2 and a sum of a[i].
double arrayProgram(int n, bool nested) {
  auto start = std::chrono::steady_clock::now();
  __begin_context();
  pObj_Node a = __SET_OBJECT(nullptr, __CreateArray(__INIT_NUL()));
  pObj_Node one = __INIT_DOUBLE(1);
  __LockStack(one, __INIT_NUL());
  pObj_Node limit = __SET_OBJECT(nullptr, __INIT_DOUBLE(n));
  pObj_Node i = __SET_OBJECT(nullptr, one);
  for (; __GET_BOOL(__LSE(i, limit)); i = __SET_OBJECT(i, __SUM(i, one))) __AAdd(a, i);
  for (i = __SET_OBJECT(i, one); __GET_BOOL(__LSE(i, limit)); i = __SET_OBJECT(i, __SUM(i, one)))
    __SET_OBJECT(__ARRAY_EL(a, i, __INIT_NUL()), __MUL(__ARRAY_EL(a, i, __INIT_NUL()), __INIT_DOUBLE(2)));
  pObj_Node total = __SET_OBJECT(nullptr, __INIT_DOUBLE(0));
  for (i = __SET_OBJECT(i, one); __GET_BOOL(__LSE(i, limit)); i = __SET_OBJECT(i, __SUM(i, one)))
    total = __SET_OBJECT(total, __SUM(total, __ARRAY_EL(a, i, __INIT_NUL())));
  if (total->objData.dValue != static_cast<double>(n) * (n + 1)) abort();
  // Nested: n/10 rows of {i, "row"} and a pass over their first column.
  pObj_Node rows = __SET_OBJECT(nullptr, __CreateArray(__INIT_NUL()));
  const int rowCount = nested ? n / 10 : 0;
  for (int r = 1; r <= rowCount; ++r)
    __AAdd(rows, __CreateArray(__INIT_DOUBLE(r), __INIT_CHARPTR("row"), __INIT_NUL()));
  for (int r = 1; r <= rowCount; ++r) __ARRAY_EL(rows, __INIT_DOUBLE(r), __INIT_DOUBLE(1), __INIT_NUL());
  __end_context(nullptr);
  return seconds(start);
}

// The same loops with arithmetic on a variable in place of the array.
double arithmeticProgram(int n) {
  auto start = std::chrono::steady_clock::now();
  __begin_context();
  pObj_Node one = __INIT_DOUBLE(1);
  __LockStack(one, __INIT_NUL());
  pObj_Node limit = __SET_OBJECT(nullptr, __INIT_DOUBLE(n));
  pObj_Node x = __SET_OBJECT(nullptr, __INIT_DOUBLE(0));
  pObj_Node i = __SET_OBJECT(nullptr, one);
  for (int pass = 0; pass < 3; ++pass)
    for (i = __SET_OBJECT(i, one); __GET_BOOL(__LSE(i, limit)); i = __SET_OBJECT(i, __SUM(i, one)))
      x = __SET_OBJECT(x, __SUM(x, __MUL(i, __INIT_DOUBLE(2))));
  __end_context(nullptr);
  return seconds(start);
}

double stringProgram(int n) {
  auto start = std::chrono::steady_clock::now();
  __begin_context();
  pObj_Node s = __SET_OBJECT(nullptr, __INIT_CHARPTR(""));
  pObj_Node x = __INIT_CHARPTR("x");
  __LockStack(x, __INIT_NUL());
  for (int k = 0; k < n; ++k) s = __SET_OBJECT(s, __SUM(s, x));
  if (static_cast<int>(strlen(s->objData.mbuff)) != n) abort();
  __end_context(nullptr);
  return seconds(start);
}

}  // namespace

int main() {
  if (!__BeginGlobal()) return 1;
  __begin_context();
  printf("%-8s %10s %10s %12s %10s %10s\n", "n", "flat (s)", "us/elem", "+nested (s)", "arith (s)", "us/elem");
  for (int n : {50000, 100000, 200000}) {
    double flat = arrayProgram(n, false), a = arrayProgram(n, true), b = arithmeticProgram(n);
    printf("%-8d %10.4f %10.4f %12.4f %10.4f %10.4f\n", n, flat, flat / n * 1e6, a, b, b / n * 1e6);
  }
  printf("\n%-10s %12s %14s\n", "s+\"x\" n", "time (s)", "ns/iter");
  for (int n : {25000, 50000, 100000}) {
    double t = stringProgram(n);
    printf("%-10d %12.4f %14.2f\n", n, t, t / n * 1e9);
  }
  __end_context(nullptr);
  __EndGlobal();
  return 0;
}
