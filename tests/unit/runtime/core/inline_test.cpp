// The in-place paths generated code takes (operators on two numbers, scalar
// assignment, parameter locks, the quick temporary, a call's begin, trace
// record and the release of its returned value) against the library's
// own exports: same type, value, error and ring state for every operand kind.
#undef ZELTA_RUNTIME_BUILD
#include "zeltaobjs.h"
#include "zeltaobjs2.h"

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "core_fixture.h"

namespace {

using Op = pObj_Node (*)(pObj_Node, pObj_Node);

struct Outcome {
  int error = -1;
  uint32_t type = 0;
  double value = 0;
  pObj_Node shared = nullptr;  // a system record, when the result is one
  std::string text;
};

Outcome run(const std::function<pObj_Node()>& call) {
  Outcome o;
  o.error = errorOf([&] {
    pObj_Node r = call();
    o.type = r->objType;
    if (r->objType == T_CHARPTR)
      o.text = r->objData.mbuff;
    else
      o.value = r->objType == T_BOOL ? r->objData.bValue : r->objData.dValue;
    if (r->objKind == vSystem) o.shared = r;
  });
  return o;
}

// Operand makers: called afresh for each side of a comparison.
struct Operand {
  const char* name;
  pObj_Node (*make)();
};

const Operand kOperands[] = {
    {"7", [] { return D(7); }},
    {"-7.5", [] { return D(-7.5); }},
    {"0", [] { return D(0); }},
    {"-0", [] { return D(-0.0); }},
    {"3", [] { return D(3); }},
    {"2^60", [] { return D(1152921504606846976.0); }},
    {"nan", [] { return D(NAN); }},
    {"text", [] { return S("abc"); }},
    {"nil", [] { return __INIT_NIL(); }},
    {"null", []() -> pObj_Node { return nullptr; }},
    {"true", [] { return __INIT_BOOL(1); }},
};

#define PAIR(name)                                                                                                    \
  {                                                                                                                   \
#name, [](pObj_Node a, pObj_Node b) { return name(a, b); }, [](pObj_Node a, pObj_Node b) { return (name)(a, b); } \
  }

struct Pair {
  const char* name;
  Op inlined, exported;
};

const Pair kPairs[] = {PAIR(__SUM), PAIR(__SUB), PAIR(__MUL), PAIR(__DIV), PAIR(__FMOD), PAIR(__LS),
                       PAIR(__LSE), PAIR(__GT),  PAIR(__GTE), PAIR(__EEQ), PAIR(__EQ)};

}  // namespace

using InlineTest = CoreTest;

TEST_F(InlineTest, OperatorsAgreeWithTheLibrary) {
  __begin_context();
  for (const Pair& p : kPairs) {
    for (const Operand& a : kOperands) {
      for (const Operand& b : kOperands) {
        const Outcome in = run([&] { return p.inlined(a.make(), b.make()); });
        const Outcome ex = run([&] { return p.exported(a.make(), b.make()); });
        const std::string where = std::string(p.name) + "(" + a.name + ", " + b.name + ")";
        EXPECT_EQ(in.error, ex.error) << where;
        if (in.error != -1 || ex.error != -1) continue;
        EXPECT_EQ(in.type, ex.type) << where;
        EXPECT_EQ(in.shared, ex.shared) << where;
        EXPECT_EQ(in.text, ex.text) << where;
        if (std::isnan(ex.value))
          EXPECT_TRUE(std::isnan(in.value)) << where;
        else
          EXPECT_EQ(in.value, ex.value) << where;
        EXPECT_EQ(std::signbit(in.value), std::signbit(ex.value)) << where;
      }
    }
  }
  __end_context(nullptr);
}

// A value returned into this context is consumed by an operator or an
// assignment, whichever path takes it.
TEST_F(InlineTest, ReturnedValuesAreStillConsumed) {
  __begin_context();
  const int locked = glob->lockedCount;
  const std::function<pObj_Node(pObj_Node)> uses[] = {
      [](pObj_Node r) { return __SUM(r, D(1)); },
      [](pObj_Node r) { return __LS(D(1), r); },
      [](pObj_Node r) { return __SET_OBJECT(__SET_OBJECT(nullptr, D(0)), r); },
  };
  for (const auto& use : uses) {
    __begin_context();
    pObj_Node r = __end_context(D(5));
    ASSERT_EQ(glob->lockedCount, locked + 1);
    use(r);
    EXPECT_EQ(glob->lockedCount, locked);
  }
  __end_context(nullptr);
}

TEST_F(InlineTest, ScalarAssignmentKeepsTheVariable) {
  __begin_context();
  pObj_Node x = __SET_OBJECT(nullptr, D(1));
  EXPECT_EQ(__SET_OBJECT(x, D(2)), x);
  EXPECT_EQ(num(x), 2);
  EXPECT_EQ(__SET_OBJECT(x, __INIT_BOOL(1)), x);
  EXPECT_EQ(x->objType, static_cast<uint32_t>(T_BOOL));
  // A string in the target, or a string source, takes the full assignment.
  x = __SET_OBJECT(x, S("text"));
  x = __SET_OBJECT(x, D(3));
  EXPECT_EQ(x->objType, static_cast<uint32_t>(T_DOUBLE));
  EXPECT_EQ(num(x), 3);
  // A variable passed by reference writes through its alias.
  pObj_Node v = __SET_OBJECT(nullptr, D(4));
  pObj_Node alias = __SET_OBJECT(nullptr, D(0));
  alias->refObj = v;
  __SET_OBJECT(alias, D(9));
  EXPECT_EQ(num(v), 9);
  alias->refObj = nullptr;
  __end_context(nullptr);
}

TEST_F(InlineTest, OnlyUnlockedTemporariesAreLocked) {
  __begin_context();
  pObj_Node t = D(1), u = D(2);
  pObj_Node var = __SET_OBJECT(nullptr, D(3));
  const int locked = glob->lockedCount;
  __LockStack(t, var, __INIT_BOOL(1), u, __INIT_NUL());
  EXPECT_EQ(glob->lockedCount, locked + 2);
  EXPECT_EQ(t->refCount, glob->depth);
  __LockStack(t, __INIT_NUL());  // already locked: no second lock
  EXPECT_EQ(glob->lockedCount, locked + 2);
  __LockStack(__INIT_NUL(), D(8), __INIT_NUL());  // the list ends at the NUL
  EXPECT_EQ(glob->lockedCount, locked + 2);
  __end_context(nullptr);
  EXPECT_EQ(glob->lockedCount, locked);
}

namespace {

// What a call's bracket leaves behind, for comparing the in-place paths with
// the exports they stand in for.
struct Bracket {
  int depth, cursor, locked, freeSlots, locks, returned;
  uint64_t mark;
  std::string trace;
  long allocations;
  bool operator==(const Bracket& o) const {
    return depth == o.depth && cursor == o.cursor && locked == o.locked && freeSlots == o.freeSlots &&
           locks == o.locks && returned == o.returned && mark == o.mark && trace == o.trace &&
           allocations == o.allocations;
  }
};

Bracket bracket() {
  const TraceRecord* t = glob->traceTail;
  return {glob->depth,
          glob->stackCursor,
          glob->lockedCount,
          glob->freeSlots,
          glob->lockTop,
          glob->frames[glob->depth].returned,
          glob->frames[glob->depth].mark,
          t ? std::string(t->function) + "@" + std::to_string(t->depth) : "",
          core::liveAllocations()};
}

std::ostream& operator<<(std::ostream& out, const Bracket& b) {
  return out << "depth " << b.depth << " cursor " << b.cursor << " locked " << b.locked << " free " << b.freeSlots
             << " locks " << b.locks << " returned " << b.returned << " mark " << b.mark << " trace " << b.trace
             << " allocations " << b.allocations;
}

// A call of `depth` nested contexts, each locking its parameter (a string
// every third call, whose release goes through the library) and returning a
// temporary that the caller consumes; with kInline through the header's
// paths, else through the exports. Records the bracket at every step.
template <bool kInline>
pObj_Node call(pObj_Node parameter, int depth, std::vector<Bracket>& seen) {
  if (kInline) {
    __begin_context();
    __LockStack(parameter, __INIT_NUL());
    __SF("CALL");
  } else {
    (__begin_context)();
    (__LockStack)(parameter, __INIT_NUL());
    (__SF)("CALL");
  }
  seen.push_back(bracket());
  pObj_Node result = parameter;
  if (depth > 0) {
    pObj_Node inner = call<kInline>(depth % 3 == 1 ? S("text") : D(depth), depth - 1, seen);
    seen.push_back(bracket());
    result = (__SUM)(D(1), D(2));
    if (kInline)
      __ReleaseReturned(inner);
    else
      (__ReleaseReturned)(inner);
  }
  seen.push_back(bracket());
  return kInline ? __end_context(result) : (__end_context)(result);
}

template <bool kInline>
std::vector<Bracket> run(int depth) {
  std::vector<Bracket> seen;
  __begin_context();
  pObj_Node r = call<kInline>(D(0), depth, seen);
  seen.push_back(bracket());
  if (kInline)
    __ReleaseReturned(r);
  else
    (__ReleaseReturned)(r);
  seen.push_back(bracket());
  if (kInline)
    __end_context(nullptr);
  else
    (__end_context)(nullptr);
  seen.push_back(bracket());
  return seen;
}

}  // namespace

// Deeper than the first frames the library makes, so the in-place begin
// also falls back to the library once.
TEST_F(InlineTest, CallBracketAgreesWithTheLibrary) {
  for (int depth : {1, 5, 100}) {
    const std::vector<Bracket> ex = run<false>(depth);
    __EndGlobal();
    ASSERT_TRUE(__BeginGlobal());
    const std::vector<Bracket> in = run<true>(depth);
    ASSERT_EQ(in.size(), ex.size());
    for (size_t i = 0; i < in.size(); ++i) EXPECT_EQ(in[i], ex[i]) << "depth " << depth << " step " << i;
    __EndGlobal();
    ASSERT_TRUE(__BeginGlobal());
  }
}

// The slot under the cursor is locked by the library, which moves the
// cursor on; a returned value of an outer depth is not this context's.
TEST_F(InlineTest, LockUnderTheCursorAndOuterReturnedValues) {
  __begin_context();
  pObj_Node r = (__begin_context(), __end_context(D(3)));
  __begin_context();
  pObj_Node free = &glob->stack[glob->stackCursor];
  free->objType = T_DOUBLE;
  const int cursor = glob->stackCursor;
  __LockStack(free, __INIT_NUL());
  EXPECT_EQ(free->refCount, glob->depth);
  EXPECT_NE(glob->stackCursor, cursor);
  EXPECT_NE(D(4), free);
  __ReleaseReturned(r);
  EXPECT_EQ(r->refCount, glob->depth - 1) << "returned into the caller, not here";
  __end_context(nullptr);
  EXPECT_EQ(free->refCount, 0);
  __ReleaseReturned(r);
  EXPECT_EQ(r->refCount, 0);
  __end_context(nullptr);
}

// The in-place begin stops a recursion without end as the library does.
TEST_F(InlineTest, RecursionWithoutEndIsStackFull) {
  const int start = glob->depth;
  EXPECT_EQ(errorOf([] {
              for (;;) __begin_context();
            }),
            STACK_FULL);
  EXPECT_EQ(glob->depth, core::kMaxContextDepth);
  while (glob->depth > start) __end_context(nullptr);
}

// A local made in place is the record the library would make: same fields,
// at the pool's tail, counted, freed by the context's end.
TEST_F(InlineTest, NewVariablesAgreeWithTheLibrary) {
  const std::function<pObj_Node()> sources[] = {
      [] { return D(1.5); },
      [] { return __INIT_DATE(2451545); },
      [] { return __INIT_BOOL(1); },
      [] { return __const_get_el(0); },
      [] { return (__begin_context(), __end_context(D(6))); },  // a returned value
  };
  __const_set_amount(1);
  __const_add_el(D(8));
  const long before = core::liveAllocations();
  __begin_context();
  for (const auto& source : sources) {
    for (bool inlined : {true, false}) {
      const int locked = glob->lockedCount;
      const int count = glob->context->pools[core::kVariablePool].count;
      const long live = core::liveAllocations();
      pObj_Node s = source();
      const Obj_Node copy = *s;
      pObj_Node v = inlined ? __SET_OBJECT(nullptr, s) : (__SET_OBJECT)(nullptr, s);
      const std::string where = inlined ? "in place" : "library";
      EXPECT_EQ(v->objKind, static_cast<uint32_t>(vVariable)) << where;
      EXPECT_EQ(v->objType, copy.objType) << where;
      EXPECT_EQ(v->objLength, -1) << where;
      EXPECT_EQ(v->objData.dValue, copy.objData.dValue) << where;
      EXPECT_EQ(v->level, glob->depth) << where;
      EXPECT_EQ(v->refCount + v->byRef + v->poolFlags, 0u) << where;
      EXPECT_EQ(v->refObj, nullptr) << where;
      EXPECT_EQ(glob->context->pools[core::kVariablePool].tail, v) << where;
      EXPECT_EQ(glob->context->pools[core::kVariablePool].count, count + 1) << where;
      EXPECT_EQ(core::liveAllocations(), live + 1) << where;
      EXPECT_EQ(glob->lockedCount, locked) << where << ": a returned source is consumed";
    }
  }
  __end_context(nullptr);
  EXPECT_EQ(core::liveAllocations(), before);
}

namespace {
int contextEnds = 0;
}

// Each way out of the in-place end (a temporary, locals to free, a returned
// local, the copy of an outer variable, a held record) calls the folders
// once and leaves what the library leaves.
TEST_F(InlineTest, EveryEndCallsTheFoldersOnce) {
  const core::Hooks saved = core::hooks();
  core::registerFolder(core::kFolderUi, {nullptr, nullptr, [] { ++contextEnds; }, nullptr});
  const long live = core::liveAllocations();
  __begin_context();
  pObj_Node number = __SET_OBJECT(nullptr, D(8));
  pObj_Node flag = __SET_OBJECT(nullptr, __INIT_BOOL(1));
  const std::function<pObj_Node()> bodies[] = {
      [] { return D(1); },
      [] { return __SET_OBJECT(nullptr, D(2)) == nullptr ? nullptr : D(2); },  // a local to free
      [] { return __SET_OBJECT(nullptr, D(3)); },                               // a local returned
      [] { return __INIT_NIL(); },
      [] { return __SET_OBJECT(nullptr, S("text")) == nullptr ? nullptr : D(4); },
      [&] { return number; },  // the caller's variable: a copy of its value
      [&] { return flag; },
  };
  const double values[] = {1, 2, 3, 0, 4, 8, 1};
  for (size_t i = 0; i < sizeof values / sizeof *values; ++i) {
    contextEnds = 0;
    __begin_context();
    const int depth = glob->depth;
    pObj_Node r = __end_context(bodies[i]());
    EXPECT_EQ(contextEnds, 1) << "body " << i;
    EXPECT_EQ(glob->depth, depth - 1) << "body " << i;
    EXPECT_EQ(r->objType == T_BOOL ? r->objData.bValue : r->objData.dValue, values[i]) << "body " << i;
    if (r->objKind == vVariable) {
      EXPECT_EQ(r->level, glob->depth) << "body " << i;
    }
    EXPECT_TRUE(r != number && r != flag) << "body " << i;
  }
  EXPECT_EQ(num(number), 8);
  EXPECT_EQ(flag->objData.bValue, 1);
  pObj_Node held = __SET_OBJECT(nullptr, D(4));
  ++held->refCount;
  contextEnds = 0;
  __begin_context();
  __end_context(D(5));  // a context that keeps the held record
  EXPECT_EQ(glob->heldRecords, 0) << "only a sweep of the held record's own depth holds it";
  __end_context(nullptr);
  EXPECT_EQ(glob->heldRecords, 1);
  __begin_context();
  EXPECT_EQ(num(__end_context(D(6))), 6) << "through the library while a record is held";
  --held->refCount;
  __begin_context();
  __end_context(nullptr);
  EXPECT_EQ(glob->heldRecords, 0);
  EXPECT_EQ(contextEnds, 4);
  EXPECT_EQ(core::liveAllocations(), live) << "every local and string freed";
  core::hooks() = saved;
}
