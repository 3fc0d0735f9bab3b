// Contexts and the ring of temporaries: wrap-around, locking, results
// handed to the caller, variables freed or kept, settings and the trace.
#include "core_fixture.h"
#include "zeltaobjs2.h"

using ContextTest = CoreTest;

TEST_F(ContextTest, RingWrapsAfterEveryslotAndFreesTheReusedString) {
  pObj_Node first = S("first");
  for (int i = 1; i < 160; ++i) D(i);
  long before = core::liveAllocations();
  pObj_Node again = D(0);
  EXPECT_EQ(again, first);
  EXPECT_EQ(core::liveAllocations(), before - 1);
}

TEST_F(ContextTest, LockedSlotsAreSkippedAndAFullRingRaises) {
  __begin_context();
  pObj_Node locked = D(1);
  __LockStack(locked, __INIT_NUL());
  for (int i = 0; i < 400; ++i) EXPECT_NE(D(i), locked);
  __end_context(nullptr);
  EXPECT_EQ(locked->refCount, 0);
  EXPECT_EQ(glob->lockedCount, 0);
}

class SmallRingTest : public CoreTest {
  int ringSize() override { return 4; }
};

TEST_F(SmallRingTest, StackFullWhenEverySlotIsLocked) {
  __begin_context();
  for (int i = 0; i < 4; ++i) __LockStack(D(i), __INIT_NUL());
  EXPECT_EQ(errorOf([] { D(9); }), STACK_FULL);
}

TEST_F(ContextTest, TemporaryReturnedThroughEndContextSurvivesCallerTemporaries) {
  __begin_context();  // caller, depth 3
  __begin_context();  // callee, depth 4
  pObj_Node result = __end_context(__SUM(D(2), D(3)));
  for (int i = 0; i < 500; ++i) D(i);
  EXPECT_EQ(num(result), 5);
  __end_context(nullptr);
  EXPECT_EQ(result->refCount, 0);
}

TEST_F(ContextTest, VariablesDieWithTheirContextUnlessReturned) {
  __begin_context();
  const int32_t base = glob->context->pools[1].count;
  __begin_context();
  __SET_OBJECT(nullptr, S("local"));
  pObj_Node kept = __SET_OBJECT(nullptr, D(42));
  pObj_Node back = __end_context(kept);
  EXPECT_EQ(glob->context->pools[1].count, base + 1);
  EXPECT_EQ(num(back), 42);
  __end_context(nullptr);
  EXPECT_EQ(glob->context->pools[1].count, base);
}

TEST_F(ContextTest, HeldRecordIsFreedByALaterContextOnceReleased) {
  __begin_context();
  const int32_t base = glob->context->pools[1].count;
  __begin_context();
  pObj_Node x = __SET_OBJECT(nullptr, D(1));
  x->refCount = 1;  // an alias holds it
  __end_context(nullptr);
  EXPECT_EQ(glob->context->pools[1].count, base + 1);
  x->refCount = 0;
  __begin_context();  // a sibling context at the same depth
  __end_context(nullptr);
  EXPECT_EQ(glob->context->pools[1].count, base);
  __end_context(nullptr);
}

// As deep as a program may go, and back; one context more is STACK FULL
// (a recursion without end once ran out of machine stack instead).
TEST_F(ContextTest, DeepChainOfContextsUnwinds) {
  const int chain = core::kMaxContextDepth - glob->depth;
  for (int i = 0; i < chain; ++i) {
    __begin_context();
    __SET_OBJECT(nullptr, D(i));
  }
  EXPECT_EQ(errorOf([] { __begin_context(); }), STACK_FULL);
  for (int i = 0; i < chain; ++i) __end_context(nullptr);
  EXPECT_EQ(glob->depth, 1);
}

TEST_F(ContextTest, DateFormatFollowsCentury) {
  __Set(D(4), S("dd/mm/yy"));
  EXPECT_STREQ(__Set(D(4), nullptr)->objData.mbuff, "dd/mm/yy");
  __Set(D(12), __INIT_BOOL(1));
  EXPECT_STREQ(__Set(D(4), nullptr)->objData.mbuff, "mm/dd/yyyy");
  __Set(D(4), S("dd.mm.yy"));  // century on: two more year letters
  EXPECT_STREQ(__Set(D(4), nullptr)->objData.mbuff, "dd.mm.yyyy");
  __Set(D(4), S("yy.mm.dd"));
  EXPECT_STREQ(__Set(D(4), nullptr)->objData.mbuff, "yyyy.mm.dd");
  __SetCentury(__INIT_BOOL(0));
  EXPECT_STREQ(__Set(D(4), nullptr)->objData.mbuff, "mm/dd/yy");
  __Set(D(4), S("yyyy-mm-dd"));
  EXPECT_STREQ(__Set(D(4), nullptr)->objData.mbuff, "yy-mm-dd");
}

TEST_F(ContextTest, SettingNumbersOutsideOneToTwelveRaise) {
  EXPECT_EQ(errorOf([] { __Set(D(13), D(1)); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([] { __Set(D(0), D(1)); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([] { __Set(S("4"), D(1)); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([] { __SetCentury(D(1)); }), ARGUMENT_ERROR);
  __Set(D(7), S("kept"));
  __begin_context();
  __end_context(nullptr);
  EXPECT_STREQ(__Set(D(7), nullptr)->objData.mbuff, "kept");
}

TEST_F(ContextTest, TraceIsCutAtContextEnd) {
  __begin_context();
  __SF("MAIN");
  __SL(3);
  __begin_context();
  __SF("SUB");
  __SL(9);
  __end_context(nullptr);
  ASSERT_NE(glob->traceTail, nullptr);
  EXPECT_STREQ(glob->traceTail->function, "MAIN");
  __end_context(nullptr);
  EXPECT_EQ(glob->traceHead, nullptr);
}

// Regression: a loop calling a function a few hundred times in one context
// used to end in STACK FULL, since every returned value stayed locked.
TEST_F(SmallRingTest, ValuesReturnedInALoopAreTakenBackOldestFirst) {
  __begin_context();  // the caller
  pObj_Node param = D(7);
  __LockStack(param, __INIT_NUL());
  double sum = 0;
  pObj_Node previous = nullptr;
  for (int i = 0; i < 1000; ++i) {
    __begin_context();
    pObj_Node result = __end_context(D(i));
    sum += num(result);
    if (previous) {
      EXPECT_EQ(num(previous), i - 1) << "the newest older value must survive";
    }
    previous = result;
  }
  EXPECT_EQ(sum, 999.0 * 1000 / 2);
  EXPECT_EQ(num(param), 7) << "a parameter lock is never taken back";
  __end_context(nullptr);
  EXPECT_EQ(glob->lockedCount, 0);
}

TEST_F(SmallRingTest, ParameterLocksStillFillTheRing) {
  __begin_context();
  __begin_context();
  pObj_Node returned = __end_context(D(1));
  for (int i = 0; i < 3; ++i) __LockStack(D(i), __INIT_NUL());
  pObj_Node reused = D(9);
  EXPECT_EQ(reused, returned) << "the returned value goes first";
  __LockStack(reused, __INIT_NUL());
  EXPECT_EQ(errorOf([] { D(10); }), STACK_FULL);
}

TEST_F(SmallRingTest, OperatorsAndAssignmentConsumeReturnedValues) {
  __begin_context();
  pObj_Node total = __SET_OBJECT(nullptr, D(0));
  for (int i = 1; i <= 100; ++i) {
    __begin_context();
    pObj_Node r = __end_context(D(i));
    total = __SET_OBJECT(total, __SUM(total, r));
    EXPECT_EQ(glob->lockedCount, 0) << "iteration " << i;
  }
  EXPECT_EQ(num(total), 5050);
  __end_context(nullptr);
}
