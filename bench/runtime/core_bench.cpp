// Costs of the run-time core's hot paths: operators, assignment, a call's
// context bracket, and a deep chain of contexts. The call is measured with
// and without many live records in outer contexts, which must not matter.
#include <benchmark/benchmark.h>

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

void sumDoubles(benchmark::State& state) {
  App app;
  pObj_Node a = __SET_OBJECT(nullptr, __INIT_DOUBLE(1.5));
  pObj_Node b = __SET_OBJECT(nullptr, __INIT_DOUBLE(2.5));
  for (auto _ : state) benchmark::DoNotOptimize(__SUM(a, b));
}
BENCHMARK(sumDoubles);

void sumStrings(benchmark::State& state) {
  App app;
  pObj_Node a = __SET_OBJECT(nullptr, __INIT_CHARPTR("customer "));
  pObj_Node b = __SET_OBJECT(nullptr, __INIT_CHARPTR("name"));
  for (auto _ : state) benchmark::DoNotOptimize(__SUM(a, b));
}
BENCHMARK(sumStrings);

void setObject(benchmark::State& state) {
  App app;
  pObj_Node x = nullptr;
  pObj_Node v = __SET_OBJECT(nullptr, __INIT_DOUBLE(3));
  for (auto _ : state) benchmark::DoNotOptimize(x = __SET_OBJECT(x, v));
}
BENCHMARK(setObject);

// A call with two parameters and three locals, as generated code makes it.
pObj_Node callee(pObj_Node a, pObj_Node b) {
  pObj_Node x = nullptr, y = nullptr, z = nullptr;
  __begin_context();
  __LockStack(a, b, __INIT_NUL());
  x = __SET_OBJECT(x, a);
  y = __SET_OBJECT(y, b);
  z = __SET_OBJECT(z, __SUM(x, y));
  return __end_context(z);
}

void callWithLocals(benchmark::State& state) {
  App app;
  for (int64_t i = 0; i < state.range(0); ++i) __SET_OBJECT(nullptr, __INIT_DOUBLE(1));
  for (auto _ : state) {
    __begin_context();
    benchmark::DoNotOptimize(callee(__INIT_DOUBLE(1), __INIT_DOUBLE(2)));
    __end_context(nullptr);
  }
}
BENCHMARK(callWithLocals)->Arg(0)->Arg(10000);

pObj_Node chain(int depth) {
  __begin_context();
  pObj_Node x = __SET_OBJECT(nullptr, __INIT_DOUBLE(depth));
  if (depth > 0) chain(depth - 1);
  return __end_context(x);
}

void deepChain(benchmark::State& state) {
  App app;
  for (auto _ : state) {
    __begin_context();
    chain(10000);
    __end_context(nullptr);
  }
}
BENCHMARK(deepChain)->Unit(benchmark::kMicrosecond);

}  // namespace
