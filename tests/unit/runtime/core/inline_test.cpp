// The in-place paths generated code takes (operators on two numbers, scalar
// assignment, parameter locks, the quick temporary) against the library's
// own exports: same type, value, error and ring state for every operand kind.
#undef ZELTA_RUNTIME_BUILD
#include "zeltaobjs.h"
#include "zeltaobjs2.h"

#include <cmath>
#include <functional>

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
