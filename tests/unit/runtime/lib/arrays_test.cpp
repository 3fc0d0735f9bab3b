// Arrays: construction, indexing, the array functions and release.
#include "zeltaarray.h"

#include "array_index.h"
#include "lib_fixture.h"
#include "zeltaobjs2.h"

namespace {

// The array as text: {1,"a",NIL,{2}}.
std::string show(pObj_Node v) {
  if (!v) return "null";
  if (pObj_Node a = lib::arrayOf(v)) {
    std::string s = "{";
    for (int i = 0; i < __Array_Get_Amnt_Itens(a); ++i) s += (i ? "," : "") + show(__GET_ARRAY_EL(a, i));
    return s + "}";
  }
  switch (v->objType) {
    case T_DOUBLE: return std::to_string(static_cast<long>(v->objData.dValue));
    case T_CHARPTR: return "\"" + str(v) + "\"";
    case T_NIL: return "NIL";
    case T_BOOL: return v->objData.bValue ? ".T." : ".F.";
    default: return "?";
  }
}

pObj_Node numbers(std::initializer_list<double> values) {
  pObj_Node a = __CreateArray(Nul());
  for (double x : values) __AAdd(a, N(x));
  return a;
}

using ArraysTest = LibTest;

TEST_F(ArraysTest, BuildsAndIndexes) {
  pObj_Node a = __CreateArray(N(1), S("a"), __INIT_NIL(), __CreateArray(N(2), Nul()), Nul());
  EXPECT_EQ(show(a), "{1,\"a\",NIL,{2}}");
  EXPECT_EQ(show(__Array(N(2), N(3), Nul())), "{{NIL,NIL,NIL},{NIL,NIL,NIL}}");
  EXPECT_EQ(show(__CreateArray(Nul())), "{}");
  EXPECT_EQ(num(__ARRAY_EL(a, N(4), N(1), Nul())), 2);
  EXPECT_EQ(__ARRAY_EL(a, Nul()), a);
  EXPECT_EQ(__ARRAY_EL(a, N(1), N(5), Nul())->objData.dValue, 1);  // a scalar ends the indexing
  EXPECT_EQ(num(__Array_Get_Item(a, N(1))), 1);
  EXPECT_EQ(__ATail(__CreateArray(Nul())), nullptr);
  EXPECT_EQ(__ATail(a)->objData.array, __GET_ARRAY_EL(a, 3));
}

TEST_F(ArraysTest, WritesThroughElements) {
  pObj_Node a = numbers({1, 2, 3});
  __SET_ARRAY_EL(a, S("x"), 1);
  __SET_OBJECT(__ARRAY_EL(a, N(3), Nul()), N(9));
  __SET_ARRAY_EL(a, __CreateArray(N(7), Nul()), 0);
  EXPECT_EQ(show(a), "{{7},\"x\",9}");
  __SET_ARRAY_EL(a, N(5), 0);  // the nested array is let go
  EXPECT_EQ(show(a), "{5,\"x\",9}");
}

TEST_F(ArraysTest, RaisesArgumentAndBoundErrors) {
  pObj_Node a = numbers({1, 2, 3});
  EXPECT_EQ(errorOf([&] { __GET_ARRAY_EL(a, 3); }), BOUND_ERROR);
  EXPECT_EQ(errorOf([&] { __GET_ARRAY_EL(a, -1); }), BOUND_ERROR);
  EXPECT_EQ(errorOf([&] { __ARRAY_EL(a, N(0), Nul()); }), BOUND_ERROR);
  EXPECT_EQ(errorOf([&] { __SET_ARRAY_EL(a, N(1), 3); }), BOUND_ERROR);
  EXPECT_EQ(errorOf([&] { __GET_ARRAY_EL(N(1), 0); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([&] { __GET_ARRAY_EL(nullptr, 0); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([&] { __AAdd(S("x"), N(1)); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([&] { __AAdd(a, nullptr); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([&] { __Array(S("2"), Nul()); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([&] { __CreateArray(N(1), nullptr, Nul()); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([&] { __Comp(N(1), S("1")); }), ARGUMENT_ERROR);
}

// Sizes beyond the machine once made the run-time allocate until the system
// stopped it; they are refused before the first element is made.
TEST_F(ArraysTest, SizesBeyondMemoryAreLowMemory) {
  pObj_Node a = numbers({1, 2});
  EXPECT_EQ(errorOf([&] { __ASize(a, N(1e9)); }), LOW_MEMORY);
  EXPECT_EQ(lib::elementCount(a), 2) << "nothing was added";
  EXPECT_EQ(errorOf([&] { __Array(N(1e9), Nul()); }), LOW_MEMORY);
  EXPECT_EQ(errorOf([&] { __Array(N(100000), N(100000), Nul()); }), LOW_MEMORY);
  EXPECT_EQ(errorOf([&] { __Array(N(3e9), Nul()); }), LOW_MEMORY) << "beyond the count's range";
  EXPECT_EQ(lib::elementCount(__ASize(a, N(1000))), 1000);
  EXPECT_EQ(lib::elementCount(__ASize(a, N(1))), 1) << "shrinking needs no room";
  EXPECT_EQ(lib::elementCount(__Array(N(100), N(10), Nul())), 100);
}

// Arrays that hold each other kept their counts up for ever; the end of the
// application frees them (the fixture's tear-down counts what is left).
TEST_F(ArraysTest, ArraysHoldingEachOtherAreFreedAtTheEnd) {
  pObj_Node a = __SET_OBJECT(nullptr, __CreateArray(N(1), Nul()));
  pObj_Node b = __SET_OBJECT(nullptr, __CreateArray(N(2), Nul()));
  __AAdd(a, a);
  __AAdd(a, b);
  __AAdd(b, a);
  EXPECT_EQ(lib::elementCount(a), 3);
}

TEST_F(ArraysTest, Scans) {
  pObj_Node a = __CreateArray(N(1), S("b"), __INIT_NIL(), N(1), Nul());
  pObj_Node rows = __CreateArray(__CreateArray(S("x"), N(10), Nul()), __CreateArray(S("y"), N(20), Nul()), Nul());
  const struct {
    pObj_Node array, value, start, last, column;
    double found;
    // clang-format off
  } cases[] = {
      {a, N(1), nullptr, nullptr, nullptr, 1},  {a, S("b"), nullptr, nullptr, nullptr, 2},
      {a, N(1), N(2), nullptr, nullptr, 4},     {a, N(1), N(2), N(3), nullptr, 0},
      {a, N(1), N(2), N(0), nullptr, 4},        {a, __INIT_NIL(), nullptr, nullptr, nullptr, 0},
      {a, S("bb"), nullptr, nullptr, nullptr, 0}, {rows, N(20), nullptr, nullptr, nullptr, 2},
      {rows, S("x"), nullptr, nullptr, N(1), 1}, {rows, S("x"), nullptr, nullptr, nullptr, 0},
      {rows, N(10), nullptr, nullptr, N(3), 0},
  };
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(num(__AScan(c.array, c.value, c.start, c.last, c.column)), c.found);
}

TEST_F(ArraysTest, Sorts) {
  EXPECT_EQ(show(__ASORT(numbers({3, 1, 2, 5, 4}))), "{1,2,3,4,5}");
  EXPECT_EQ(show(__ASORT(numbers({5, 4, 3, 2, 1}))), "{1,2,3,4,5}");
  EXPECT_EQ(show(__ASORT(numbers({1, 3, 2}), nullptr, nullptr, __INIT_BOOL(0))), "{3,2,1}");
  EXPECT_EQ(show(__ASORT(numbers({9, 3, 2, 1, 0}), N(2), N(4))), "{9,1,2,3,0}");
  EXPECT_EQ(show(__ASORT(numbers({2, 1}), N(2))), "{2,1}");
  pObj_Node rows = __CreateArray(__CreateArray(S("b"), N(2), Nul()), __CreateArray(S("a"), N(1), Nul()), Nul());
  EXPECT_EQ(show(__ASORT(rows, nullptr, nullptr, nullptr, N(1))), "{{\"a\",1},{\"b\",2}}");
  EXPECT_EQ(show(__ASORT(rows, nullptr, nullptr, __INIT_BOOL(0))), "{{\"b\",2},{\"a\",1}}");
  pObj_Node mixed = __CreateArray(N(2), __INIT_NIL(), N(1), Nul());
  EXPECT_EQ(show(__ASORT(mixed)), "{1,2,NIL}");
  // An order that is no logical (a code block) was ignored: an ascending sort.
  EXPECT_EQ(errorOf([] { __ASORT(numbers({2, 1}), nullptr, nullptr, __INIT_VOIDPTR(nullptr)); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([] { __ASORT(numbers({2, 1}), nullptr, nullptr, N(1)); }), ARGUMENT_ERROR);
  EXPECT_EQ(show(__ASORT(numbers({2, 1}), nullptr, nullptr, __INIT_NIL())), "{1,2}");
}

TEST_F(ArraysTest, InsertsDeletesAndResizes) {
  EXPECT_EQ(show(__ADel(numbers({1, 2, 3}), N(2))), "{1,3,NIL}");
  EXPECT_EQ(show(__ADel(numbers({1, 2, 3}), N(4))), "{1,2,3}");
  EXPECT_EQ(show(__AIns(numbers({1, 2, 3}), N(1))), "{NIL,1,2}");
  EXPECT_EQ(show(__AIns(numbers({1, 2, 3}), N(3))), "{1,2,NIL}");
  EXPECT_EQ(show(__AIns(numbers({1, 2, 3}), N(0))), "{1,2,3}");
  EXPECT_EQ(show(__DelEl(numbers({1, 2, 3}), 1, 0)), "{2,3}");
  EXPECT_EQ(show(__ASize(numbers({1, 2, 3}), N(5))), "{1,2,3,NIL,NIL}");
  EXPECT_EQ(show(__ASize(numbers({1, 2, 3}), N(1))), "{1}");
  EXPECT_EQ(show(__ASize(numbers({}), N(2))), "{NIL,NIL}");
  pObj_Node held = __CreateArray(N(1), __CreateArray(N(2), Nul()), Nul());
  EXPECT_EQ(show(__ADel(held, N(2))), "{1,{}}");
  pObj_Node a = numbers({1, 2, 3, 4});
  __AIns(a, N(2));
  __ADel(a, N(4));
  EXPECT_EQ(show(a), "{1,NIL,2,NIL}");
  EXPECT_EQ(lib::elementCount(a), 4);
}

TEST_F(ArraysTest, CopiesAndFills) {
  const struct {
    pObj_Node start, last, position;
    const char* target;
    // clang-format off
  } copies[] = {
      {nullptr, nullptr, nullptr, "{1,2,3,0}"}, {N(2), nullptr, nullptr, "{2,3,0,0}"},
      {nullptr, N(2), N(3), "{0,0,1,2}"},      {nullptr, nullptr, N(3), "{0,0,1,2}"},
  };
  // clang-format on
  for (const auto& c : copies) {
    pObj_Node target = numbers({0, 0, 0, 0});
    EXPECT_EQ(show(__ACopy(numbers({1, 2, 3}), target, c.start, c.last, c.position)), c.target);
  }
  const struct {
    pObj_Node start, count;
    const char* out;
  } fills[] = {
      {nullptr, nullptr, "{7,7,7,7}"},
      {N(2), N(2), "{0,7,7,0}"},
      {N(3), N(9), "{0,0,7,7}"},
      {N(0), N(0), "{7,7,7,7}"},
  };
  for (const auto& c : fills) EXPECT_EQ(show(__AFill(numbers({0, 0, 0, 0}), N(7), c.start, c.count)), c.out);
  EXPECT_EQ(errorOf([] { __AFill(numbers({1}), nullptr); }), ARGUMENT_ERROR);
}

TEST_F(ArraysTest, ClonesDeepAndCopiesShallow) {
  pObj_Node inner = __CreateArray(N(1), Nul());
  pObj_Node a = __CreateArray(inner, S("s"), Nul());
  pObj_Node shallow = __CopyArray(a);
  pObj_Node deep = __AClone(a);
  __SET_ARRAY_EL(inner, N(5), 0);
  EXPECT_EQ(show(shallow), "{{5},\"s\"}");
  EXPECT_EQ(show(deep), "{{1},\"s\"}");
  EXPECT_EQ(show(__AClone(__CreateArray(Nul()))), "{}");
}

TEST_F(ArraysTest, ComparesAndSwaps) {
  EXPECT_EQ(__Comp(S("a"), S("b")), -1);
  EXPECT_EQ(__Comp(S("\xe9"), S("z")), 1);  // unsigned bytes
  EXPECT_EQ(__Comp(N(2), N(2)), 0);
  EXPECT_EQ(__Comp(Dt(5), Dt(4)), 1);
  EXPECT_EQ(__Comp(__INIT_BOOL(1), __INIT_BOOL(0)), 1);
  EXPECT_EQ(__Comp(nullptr, N(1)), -1);
  pObj_Node a = __CreateArray(N(1), S("two"), Nul());
  __SwapElements(lib::elementAt(a, 0), lib::elementAt(a, 1));
  EXPECT_EQ(show(a), "{\"two\",1}");
}

// Each function's arrays die with its context; nested arrays returned from a
// function survive in the caller.
TEST_F(ArraysTest, ReleasedAtContextEnd) {
  __begin_context();
  pObj_Node kept = __CreateArray(__CreateArray(S("deep"), Nul()), Nul());
  __CreateArray(__Array(N(3), N(3), Nul()), Nul());
  for (int i = 0; i < 100; ++i) __AAdd(kept, __CreateArray(N(i), Nul()));
  __end_context(kept);
  EXPECT_EQ(show(__ARRAY_EL(kept, N(1), Nul())), "{\"deep\"}");
  EXPECT_EQ(num(__ARRAY_EL(kept, N(101), N(1), Nul())), 99);
  EXPECT_EQ(glob->context->pools[0].count, 102);
  __begin_context();
  __end_context(nullptr);
}

TEST_F(ArraysTest, HoldsVariablesPassedByReference) {
  pObj_Node x = __SET_OBJECT(nullptr, S("old"));
  x->byRef = 1;
  pObj_Node a = __CreateArray(Nul());
  __AAdd(a, x);
  __SET_ARRAY_EL(a, S("new"), 0);
  EXPECT_EQ(str(x), "new");
  EXPECT_EQ(x->refCount, 1);
}

// 1..n as an array.
pObj_Node counting(int n) {
  pObj_Node a = __CreateArray(Nul());
  for (int i = 1; i <= n; ++i) __AAdd(a, N(i));
  return a;
}

// Each element read by position is the value its cell holds.
void expectReads(pObj_Node a) {
  for (long i = 0; i < lib::elementCount(a); ++i) {
    const ArrayCell* c = lib::cellAt(a, i);
    pObj_Node el = __GET_ARRAY_EL(a, static_cast<int>(i));
    ASSERT_EQ(el->objType, c->type) << i;
    if (c->type == T_DOUBLE) {
      ASSERT_EQ(el->objData.dValue, c->data.dValue) << i;
    }
  }
}

TEST_F(ArraysTest, LongArraysAcrossChunksAndEdits) {
  const int n = kChunkCells * 2 + 8;
  pObj_Node a = counting(n);
  for (int i = 0; i < n; ++i) ASSERT_EQ(num(__GET_ARRAY_EL(a, i)), i + 1);
  EXPECT_EQ(errorOf([&] { __GET_ARRAY_EL(a, n); }), BOUND_ERROR);
  __AIns(a, N(3));
  __ADel(a, N(n));
  EXPECT_EQ(num(__GET_ARRAY_EL(a, 1)), 2);
  EXPECT_EQ(__GET_ARRAY_EL(a, 2)->objType, static_cast<uint32_t>(T_NIL));
  EXPECT_EQ(num(__GET_ARRAY_EL(a, kChunkCells)), kChunkCells) << "shifted across a chunk's end";
  expectReads(a);
  // Shrinking into one chunk and growing again keeps reads right.
  __ASize(a, N(kChunkCells - 2));
  expectReads(a);
  __ASize(a, N(n + 5));
  expectReads(a);
  EXPECT_EQ(num(__GET_ARRAY_EL(a, 3)), 3);
  EXPECT_EQ(__GET_ARRAY_EL(a, n + 4)->objType, static_cast<uint32_t>(T_NIL));
  __SET_OBJECT(__ARRAY_EL(a, N(n + 5), Nul()), S("last"));
  EXPECT_EQ(str(__ARRAY_EL(a, N(n + 5), Nul())), "last");
}

// A literal's elements live in its header's block; growth moves them out.
TEST_F(ArraysTest, LiteralsKeepTheirElementsInTheHeader) {
  pObj_Node row = __CreateArray(N(1), S("two"), __CreateArray(N(3), Nul()), Nul());
  EXPECT_TRUE(core::inlineCells(row->objData.header));
  EXPECT_EQ(row->objData.header->capacity, 3);
  __AAdd(row, N(4));
  EXPECT_FALSE(core::inlineCells(row->objData.header));
  EXPECT_EQ(show(row), "{1,\"two\",{3},4}");
  pObj_Node long_ = __Array(N(kChunkCells + 1), Nul());
  EXPECT_EQ(lib::elementCount(long_), kChunkCells + 1);
  __SET_ARRAY_EL(long_, N(9), kChunkCells);
  EXPECT_EQ(num(__ARRAY_EL(long_, N(kChunkCells + 1), Nul())), 9);
}

TEST_F(ArraysTest, ScansLongArrays) {
  const int n = 3 * 16;
  pObj_Node a = counting(n);
  __SET_ARRAY_EL(a, S("7"), 9);
  __SET_ARRAY_EL(a, Dt(7), 10);
  __SET_ARRAY_EL(a, __CreateArray(N(7), N(70), Nul()), 11);
  const struct {
    pObj_Node value, start, last, column;
    double found;
    // clang-format off
  } cases[] = {
      {N(n), nullptr, nullptr, nullptr, n},    {N(n), nullptr, N(n - 1), nullptr, 0},
      {N(1), N(2), nullptr, nullptr, 0},       {N(n + 1), nullptr, nullptr, nullptr, 0},
      {S("7"), nullptr, nullptr, nullptr, 10}, {Dt(7), nullptr, nullptr, nullptr, 11},
      {N(70), nullptr, nullptr, nullptr, 12},  {N(7), nullptr, nullptr, N(1), 7},
      {N(7), N(8), nullptr, N(1), 12},         {N(5), N(n + 3), nullptr, nullptr, 0},
  };
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(num(__AScan(a, c.value, c.start, c.last, c.column)), c.found);
}

// An element's alias writes back, also after the ring of aliases has come
// round many times, and a[i] := a[i] keeps a string whole.
TEST_F(ArraysTest, AliasesWriteBack) {
  pObj_Node a = __CreateArray(S("text"), N(1), Nul());
  pObj_Node first = __ARRAY_EL(a, N(1), Nul());
  __SET_OBJECT(__ARRAY_EL(a, N(1), Nul()), first);
  EXPECT_EQ(str(__ARRAY_EL(a, N(1), Nul())), "text");
  for (int k = 0; k < 5000; ++k) __SET_OBJECT(__ARRAY_EL(a, N(2), Nul()), __SUM(__ARRAY_EL(a, N(2), Nul()), N(1)));
  EXPECT_EQ(num(__ARRAY_EL(a, N(2), Nul())), 5001);
  pObj_Node el = __ARRAY_EL(a, N(1), Nul());
  __SwapElements(el, __ARRAY_EL(a, N(2), Nul()));
  EXPECT_EQ(show(a), "{5001,\"text\"}");
}

// An alias passed to a call stays that element for the whole call, however
// many elements the call reads; the next call at that depth, or the ring
// coming round at a lower depth, lets go of it.
TEST_F(ArraysTest, AliasesPassedToACallArePinned) {
  pObj_Node a = __SET_OBJECT(nullptr, counting(3000));
  pObj_Node param = __ARRAY_EL(a, N(2), Nul());
  __begin_context();
  __PinElement(param, 1);
  __PinElement(param, 0);  // the same alias twice in one call
  EXPECT_EQ(zeltaElementRing.pinnedCount, 1);
  double sum = 0;
  for (int i = 1; i <= 3000; ++i) sum += num(__ARRAY_EL(a, N(i), Nul()));
  EXPECT_EQ(sum, 3000.0 * 3001 / 2);
  EXPECT_EQ(num(param), 2);
  __SET_OBJECT(param, N(-2));
  __end_context(nullptr);
  EXPECT_EQ(num(__ARRAY_EL(a, N(2), Nul())), -2);
  __begin_context();
  __PinElement(__ARRAY_EL(a, N(1), Nul()), 1);
  __PinElement(__ARRAY_EL(a, N(3), Nul()), 0);
  EXPECT_EQ(zeltaElementRing.pinnedCount, 2);
  __end_context(nullptr);
  for (int i = 1; i <= 3000; ++i) __ARRAY_EL(a, N(i), Nul());
  EXPECT_EQ(zeltaElementRing.pinnedCount, 0);
}

// An array freed while an alias of its element is still about: writing into
// the alias reaches no freed memory.
TEST_F(ArraysTest, AliasOfAFreedArrayIsDetached) {
  __begin_context();
  pObj_Node a = __CreateArray(S("x"), Nul());
  pObj_Node el = __ARRAY_EL(a, N(1), Nul());
  __end_context(nullptr);
  EXPECT_EQ(zeltaAliasOf(el)->header, nullptr);
  __SET_OBJECT(el, N(1));
}

}  // namespace
