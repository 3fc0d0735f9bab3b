// Browsing a table of 1,000,000 records: a page down, a jump to the bottom
// and back to the top each read only the rows the browser shows (a page of
// 10), so each redraw stays far below 50 ms whatever the table's size.
//
//   cmake -DZELTA_BENCH=ON ... && build/bench/ui/ui_browser_bench
//
// The table is built once, in a scratch application directory, before the
// timings (BROWSER_RECORDS sets another size; BROWSER_INDEXED=1 browses
// through an index on the code).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "core.h"
#include "zeltaarray.h"
#include "zeltardd.h"
#include "zeltaui.h"

namespace {

struct Table {
  uint16_t window = 0, browser = 0;
  long records = 0;
};

Table& table() {
  static Table t;
  if (t.browser) return t;
  char pattern[] = "/tmp/zelta_browser_bench_XXXXXX";
  setenv("ZELTA_APPDIR", mkdtemp(pattern), 1);
  setenv("ZELTA_UI", "headless", 1);
  __SetMaxStackElements(4000);
  __BeginGlobal();
  const char* size = getenv("BROWSER_RECORDS");
  t.records = size ? atol(size) : 1000000;
  const auto start = std::chrono::steady_clock::now();
  pObj_Node code =
      __CreateArray(__INIT_CHARPTR("CODE"), __INIT_CHARPTR("C"), __INIT_DOUBLE(8), __INIT_DOUBLE(0), __INIT_NUL());
  pObj_Node qty =
      __CreateArray(__INIT_CHARPTR("QTY"), __INIT_CHARPTR("N"), __INIT_DOUBLE(8), __INIT_DOUBLE(0), __INIT_NUL());
  __DBCREATE(__INIT_CHARPTR("big"), __CreateArray(code, qty, __INIT_NUL()));
  __DBUSEAREA(__INIT_BOOL(1), nullptr, __INIT_CHARPTR("big"), __INIT_CHARPTR("BIG"), __INIT_BOOL(0), __INIT_BOOL(0));
  char text[32];
  for (long i = 1; i <= t.records; ++i) {
    __begin_context();
    __DBAPPEND(nullptr);
    snprintf(text, sizeof text, "K%07ld", i);
    __SetField(nullptr, __INIT_DOUBLE(1), __INIT_CHARPTR(text));
    __SetField(nullptr, __INIT_DOUBLE(2), __INIT_DOUBLE(static_cast<double>(i)));
    __end_context(nullptr);
  }
  __Commit(nullptr);
  // With BROWSER_INDEXED the browser walks an index on the code.
  if (getenv("BROWSER_INDEXED")) __DBCREATEINDEX(nullptr, __INIT_CHARPTR("bigcode"), __INIT_CHARPTR("CODE"));
  __TBL_GoTop(nullptr);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  fprintf(stderr, "table of %.0f records built in %.1f s\n", __TBL_RecCount(nullptr)->objData.dValue, seconds);
  pObj_Node w = __ObjWin(__INIT_DOUBLE(0), __INIT_DOUBLE(0), __INIT_CHARPTR("Big"), __INIT_DOUBLE(160),
                         __INIT_DOUBLE(160), __INIT_BOOL(1));
  t.window = static_cast<uint16_t>(w->objData.dValue);
  // 13 units of buttons and 11 lines of 12 units: a heading and 10 rows.
  pObj_Node b = __new_DBBrowser(w, __INIT_DOUBLE(0), __INIT_DOUBLE(0), __INIT_DOUBLE(13 + 11 * 12), __INIT_DOUBLE(160),
                                __INIT_BOOL(1), nullptr, nullptr, __INIT_CHARPTR("BIG"));
  t.browser = static_cast<uint16_t>(b->objData.dValue);
  __addcol_DBBrowser(__INIT_DOUBLE(t.browser), __INIT_CHARPTR("Code"), __INIT_DOUBLE(1));
  __addcol_DBBrowser(__INIT_DOUBLE(t.browser), __INIT_CHARPTR("Qty"), __INIT_DOUBLE(2));
  __BOTTOM_DBBrowse(__INIT_DOUBLE(t.window), __INIT_DOUBLE(t.browser + 6), nullptr);
  fprintf(stderr, "the last page ends at record %.0f\n", __TBL_RecNo(nullptr)->objData.dValue);
  return t;
}

pObj_Node button(int n) { return __INIT_DOUBLE(table().browser + 1 + n); }

void PageDown(benchmark::State& state) {
  Table& t = table();
  __TOP_DBBrowse(__INIT_DOUBLE(t.window), button(1), nullptr);
  // Back to the top before the last page: every page down timed reads a
  // new page (at the last one nothing would be read).
  const long pages = std::max(1L, t.records / 10 - 2);
  long n = 0;
  for (auto _ : state) {
    __begin_context();
    if (++n % pages == 0) __TOP_DBBrowse(__INIT_DOUBLE(t.window), button(1), nullptr);
    __DOWN_DBBrowse(__INIT_DOUBLE(t.window), button(5), nullptr);
    __end_context(nullptr);
  }
}
BENCHMARK(PageDown)->Unit(benchmark::kMillisecond);

void Top(benchmark::State& state) {
  Table& t = table();
  for (auto _ : state) {
    __begin_context();
    __TOP_DBBrowse(__INIT_DOUBLE(t.window), button(1), nullptr);
    __end_context(nullptr);
  }
}
BENCHMARK(Top)->Unit(benchmark::kMillisecond);

void Bottom(benchmark::State& state) {
  Table& t = table();
  for (auto _ : state) {
    __begin_context();
    __BOTTOM_DBBrowse(__INIT_DOUBLE(t.window), button(6), nullptr);
    __end_context(nullptr);
  }
}
BENCHMARK(Bottom)->Unit(benchmark::kMillisecond);

}  // namespace
