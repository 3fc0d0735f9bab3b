// The paths generated code takes in place (zeltaobjs.h, zeltaobjs2.h,
// zeltaarray.h) beside the library's exports they stand in for: number
// arithmetic, scalar assignment, a[i] on a long and a short array, a call
// whose parameter is a temporary (a lock and an unlock in the ring), and a
// call with locals.
#undef ZELTA_RUNTIME_BUILD
#include <benchmark/benchmark.h>

#include "zeltaarray.h"
#include "zeltaobjs.h"
#include "zeltaobjs2.h"

namespace {

struct App {
  App() {
    __BeginGlobal();
    __begin_context();
  }
  ~App() {
    __end_context(nullptr);
    __EndGlobal();
  }
};

template <bool kInline>
void sumNumbers(benchmark::State& state) {
  App app;
  pObj_Node a = __SET_OBJECT(nullptr, __INIT_DOUBLE(1.5));
  pObj_Node b = __SET_OBJECT(nullptr, __INIT_DOUBLE(2.5));
  for (auto _ : state) benchmark::DoNotOptimize(kInline ? __SUM(a, b) : (__SUM)(a, b));
}
BENCHMARK(sumNumbers<true>);
BENCHMARK(sumNumbers<false>);

template <bool kInline>
void assignNumber(benchmark::State& state) {
  App app;
  pObj_Node x = __SET_OBJECT(nullptr, __INIT_DOUBLE(0));
  pObj_Node v = __SET_OBJECT(nullptr, __INIT_DOUBLE(3));
  for (auto _ : state) benchmark::DoNotOptimize(x = kInline ? __SET_OBJECT(x, v) : (__SET_OBJECT)(x, v));
}
BENCHMARK(assignNumber<true>);
BENCHMARK(assignNumber<false>);

// Reads every element of an array of range(0) elements.
template <bool kInline>
void readElements(benchmark::State& state) {
  App app;
  const int n = static_cast<int>(state.range(0));
  pObj_Node a = __SET_OBJECT(nullptr, __CreateArray(__INIT_NUL()));
  pObj_Node index[64];
  for (int i = 0; i < n; ++i) __AAdd(a, __INIT_DOUBLE(i));
  for (int i = 0; i < 64; ++i) index[i] = __SET_OBJECT(nullptr, __INIT_DOUBLE(i % n + 1));
  for (auto _ : state) {
    for (pObj_Node i : index)
      benchmark::DoNotOptimize(kInline ? __ARRAY_EL(a, i, __INIT_NUL()) : (__ARRAY_EL)(a, i, __INIT_NUL()));
  }
  state.SetItemsProcessed(state.iterations() * 64);
}
BENCHMARK(readElements<true>)->Arg(4)->Arg(20000);
BENCHMARK(readElements<false>)->Arg(4)->Arg(20000);

// FUNCTION Twice(x): RETURN x * 2 + 1, called with a temporary, as generated.
pObj_Node twice(pObj_Node x) {
  __begin_context();
  __LockStack(x, __INIT_NUL());
  __SF("TWICE");
  return __end_context(__SUM(__MUL(x, __INIT_DOUBLE(2)), __INIT_DOUBLE(1)));
}

void callWithTemporary(benchmark::State& state) {
  App app;
  pObj_Node total = __SET_OBJECT(nullptr, __INIT_DOUBLE(0));
  pObj_Node i = __SET_OBJECT(nullptr, __INIT_DOUBLE(7));
  pObj_Node seven = __SET_OBJECT(nullptr, __INIT_DOUBLE(7));
  for (auto _ : state) total = __SET_OBJECT(total, __SUM(total, twice(__FMOD(i, seven))));
}
BENCHMARK(callWithTemporary);

// FUNCTION Mix(a, b) with two locals, RETURN x + y: the whole call as
// generated (context, parameter locks, trace record, locals, end) through
// the header's paths, or with kInline false through the library's exports.
template <bool kInline>
pObj_Node mix(pObj_Node a, pObj_Node b) {
  pObj_Node x = nullptr, y = nullptr;
  if (kInline) {
    __begin_context();
    __LockStack(a, b, __INIT_NUL());
    __SF("MIX");
    x = __SET_OBJECT(x, a);
    y = __SET_OBJECT(y, b);
    return __end_context(__SUM(x, y));
  }
  (__begin_context)();
  (__LockStack)(a, b, __INIT_NUL());
  (__SF)("MIX");
  x = (__SET_OBJECT)(x, a);
  y = (__SET_OBJECT)(y, b);
  return (__end_context)((__SUM)(x, y));
}

template <bool kInline>
void callWithLocals(benchmark::State& state) {
  App app;
  pObj_Node total = __SET_OBJECT(nullptr, __INIT_DOUBLE(0));
  pObj_Node one = __SET_OBJECT(nullptr, __INIT_DOUBLE(1));
  for (auto _ : state) total = __SET_OBJECT(total, __SUM(total, mix<kInline>(__INIT_DOUBLE(2), one)));
}
BENCHMARK(callWithLocals<true>);
BENCHMARK(callWithLocals<false>);

}  // namespace
