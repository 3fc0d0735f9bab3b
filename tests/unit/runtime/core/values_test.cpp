// The value model: constructors, the move/copy rules of __SET_OBJECT,
// constant and system targets, arrays held by reference.
#include <string.h>

#include "core_fixture.h"
#include "zeltaobjs2.h"
#include "zeltautil.h"

using ValuesTest = CoreTest;

TEST_F(ValuesTest, ConstructorsSizeStringBuffers) {
  pObj_Node empty = __INIT_CHARPTR(nullptr);
  EXPECT_EQ(empty->objType, static_cast<uint32_t>(T_CHARPTR));
  EXPECT_EQ(empty->objLength, 2);
  EXPECT_STREQ(empty->objData.mbuff, "");

  pObj_Node zero = __ALLOC_CHARPTR(0);
  EXPECT_EQ(zero->objLength, 1);
  EXPECT_EQ(MemPtrSize(zero->objData.mbuff) >= 2, true);

  EXPECT_EQ(errorOf([] { __ALLOC_CHARPTR(-1); }), LOW_MEMORY);
  EXPECT_EQ(__INIT_BOOL(5), __INIT_BOOL(1));
  EXPECT_NE(__INIT_BOOL(0), __INIT_BOOL(1));
}

TEST_F(ValuesTest, StringTemporaryIsMovedVariableIsCopied) {
  pObj_Node temp = S("hello");
  char* buffer = temp->objData.mbuff;
  pObj_Node x = __SET_OBJECT(nullptr, temp);
  EXPECT_EQ(x->objData.mbuff, buffer);
  EXPECT_EQ(temp->objLength, 0);
  EXPECT_EQ(temp->objData.mbuff, nullptr);

  pObj_Node y = __SET_OBJECT(nullptr, x);
  EXPECT_NE(y->objData.mbuff, x->objData.mbuff);
  EXPECT_STREQ(y->objData.mbuff, "hello");
  EXPECT_EQ(__SET_OBJECT(x, x), x);
}

TEST_F(ValuesTest, LockedTemporaryIsCopiedNotMoved) {
  __begin_context();
  pObj_Node temp = S("kept");
  __LockStack(temp, __INIT_NUL());
  pObj_Node x = __SET_OBJECT(nullptr, temp);
  EXPECT_STREQ(temp->objData.mbuff, "kept");
  EXPECT_NE(x->objData.mbuff, temp->objData.mbuff);
  __end_context(nullptr);
}

TEST_F(ValuesTest, BinaryBufferSwitchCopiesPastZeroBytes) {
  pObj_Node raw = __ALLOC_CHARPTR(4);
  memcpy(raw->objData.mbuff, "a\0bc", 4);
  pObj_Node v = __SET_OBJECT(nullptr, raw);  // moved: all bytes
  SetCheckBuffer(1);
  pObj_Node binary = __SET_OBJECT(nullptr, v);
  EXPECT_EQ(memcmp(binary->objData.mbuff, "a\0bc", 4), 0);
  SetCheckBuffer(0);
  pObj_Node text = __SET_OBJECT(nullptr, v);
  EXPECT_EQ(memcmp(text->objData.mbuff, "a\0\0\0", 4), 0);
}

TEST_F(ValuesTest, ConstantAndSystemTargets) {
  __const_set_amount(2);
  __const_add_el(__INIT_DOUBLE(7));
  __const_add_el(__INIT_CHARCONST("lit"));
  pObj_Node k = __const_get_el(0);
  EXPECT_EQ(__SET_OBJECT(k, D(1)), k);
  EXPECT_EQ(num(k), 7);
  EXPECT_STREQ(__const_get_el(1)->objData.mbuff, "lit");
  EXPECT_EQ(errorOf([] { __const_add_el(__INIT_DOUBLE(1)); }), ARGUMENT_ERROR);

  pObj_Node sys = __INIT_BOOL(1);
  pObj_Node x = __SET_OBJECT(sys, D(3));
  EXPECT_NE(x, sys);
  EXPECT_EQ(x->objKind, static_cast<uint32_t>(vVariable));
  EXPECT_TRUE(__GET_BOOL(__INIT_BOOL(1)));
}

TEST_F(ValuesTest, HandleBecomesVoidPointerAndKeepsAllBits) {
  int anchor = 0;
  pObj_Node x = __SET_OBJECT(nullptr, __INIT_HANDLE(&anchor));
  EXPECT_EQ(x->objType, static_cast<uint32_t>(T_VOIDPTR));
  EXPECT_EQ(x->objData.pValue, &anchor);
}

TEST_F(ValuesTest, UnassignableTypeRaises) {
  Obj_Node odd;
  __InitObjNode(&odd, 14);
  EXPECT_EQ(errorOf([&] { __SET_OBJECT(nullptr, &odd); }), ARGUMENT_ERROR);
}

TEST_F(ValuesTest, AssigningAnArrayFreesTheVariableAndReturnsTheArray) {
  pObj_Node x = __SET_OBJECT(nullptr, D(1));
  const int32_t before = glob->context->pools[1].count;
  pObj_Node array = __fcpObj_CT(vArray);
  pObj_Node held = __SET_OBJECT(x, array);
  EXPECT_EQ(held, array);
  EXPECT_EQ(glob->context->pools[1].count, before - 1);
}

TEST_F(ValuesTest, ScalarIntoArrayHolderMakesANewVariable) {
  pObj_Node array = __fcpObj_CT(vArray);
  array->level = 1;
  pObj_Node x = __SET_OBJECT(array, D(4));
  EXPECT_NE(x, array);
  EXPECT_EQ(x->objType, static_cast<uint32_t>(T_DOUBLE));
  EXPECT_EQ(x->level, 1);
  EXPECT_EQ(array->objType, static_cast<uint32_t>(T_ARRAY));
}

TEST_F(ValuesTest, ArrayPassedByReferenceTakesTheSourceHeader) {
  pObj_Node a = __fcpObj_CT(vArray);
  a->byRef = 1;
  pObj_Node b = __fcpObj_CT(vArray);
  ArrayHeader* shared = b->objData.header;
  EXPECT_EQ(__SET_OBJECT(a, b), a);
  EXPECT_EQ(a->objData.header, shared);
  EXPECT_EQ(shared->holders, 2);
  EXPECT_EQ(b->refCount, 0) << "the source is not held, or it would never be freed";
}

// Regression: `aRow := aGrid[1]; aRow := aGrid[3]` overwrote row 1 with row 3,
// since the variable was row 1's own record.
TEST_F(ValuesTest, VariableHoldingAnArrayIsRebound) {
  pObj_Node row1 = __fcpObj_CT(vArray);
  pObj_Node row3 = __fcpObj_CT(vArray);
  ArrayHeader* header1 = row1->objData.header;
  pObj_Node aRow = __SET_OBJECT(nullptr, row1);
  aRow = __SET_OBJECT(aRow, row3);
  EXPECT_EQ(aRow, row3);
  EXPECT_EQ(row1->objData.header, header1);
}

TEST_F(ValuesTest, SetObjLengthTrimsFillBytes) {
  char buffer[6] = {'a', 'b', '\xff', '\xff', '\xff', '\xff'};
  int32_t length = 6;
  __SetObjLength(buffer, &length);
  EXPECT_EQ(length, 2);
  EXPECT_EQ(buffer[2], 0);
}

TEST_F(ValuesTest, SwitchesTakeOnlyLogicals) {
  EXPECT_EQ(errorOf([] { __SetCheckBuffer(D(1)); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([] { __SetEncode(nullptr); }), ARGUMENT_ERROR);
  __SetCheckBuffer(__INIT_BOOL(1));
  EXPECT_TRUE(core::binaryBuffers());
}
