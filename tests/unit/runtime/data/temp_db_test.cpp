// Temporary databases, the delete queue and the rescue of registered arrays.
#include <string.h>

#include <string>

#include "data_fixture.h"
#include "store.h"
#include "temp_db.h"

using namespace data;

namespace {

using TempDbTest = DataTest;

TEST_F(TempDbTest, NamesByKind) {
  struct Case {
    int kind;
    const char* name;
  };
  const Case cases[] = {{'H', "CLI.tHst"}, {'I', "CLI.tIns"}, {'P', "CLI.tPda"}, {'L', "CLI.tLog"}, {'Q', "CLI.tLog"}};
  for (const Case& c : cases) EXPECT_EQ(tmpDbName("cli", c.kind), c.name) << static_cast<char>(c.kind);
  EXPECT_EQ(tmpDbName("Exact.Name", 'Z'), "Exact.Name");
}

TEST_F(TempDbTest, OpenReadAndDelete) {
  DmOpenRef db = static_cast<DmOpenRef>(__OpenTmpDb(0, "sync_list", 0, 'L'));
  ASSERT_NE(db, nullptr);
  EXPECT_EQ(databaseName(db), "SYNC_LIST.tLog");
  ASSERT_TRUE(appendTmpRecord(db, "first line", 11));
  ASSERT_TRUE(appendTmpRecord(db, "second", 7));
  DmOpenRef same = static_cast<DmOpenRef>(__OpenTmpDb(0, "SYNC_LIST", 0, 'L'));
  EXPECT_EQ(same, db) << "the name's case does not matter";
  DmCloseDatabase(same);
  EXPECT_EQ(GetTmpDbQtdRecs(db), 2);
  char buffer[32] = {};
  EXPECT_EQ(__ReadTmpDb(db, 0, buffer, 0), 11);
  EXPECT_STREQ(buffer, "first line");
  memset(buffer, 0, sizeof buffer);
  EXPECT_EQ(__ReadTmpDb(db, 0, buffer, 5), 5);
  EXPECT_STREQ(buffer, "first");
  EXPECT_EQ(__ReadTmpDb(db, 2, buffer, 0), 0);
  EXPECT_EQ(__ReadTmpDb(db, -1, buffer, 0), 0);
  // Without a buffer the record goes to the packet buffer, its length noted there.
  char packet[8];
  int32_t noted = 0;
  state().packetBuffer = packet;
  state().packetCapacity = sizeof packet;
  state().packetLength = &noted;
  EXPECT_EQ(__ReadTmpDb(db, 0, nullptr, 0), 8);
  EXPECT_EQ(noted, 8);
  EXPECT_EQ(std::string(packet, 8), "first li");
  state().packetBuffer = nullptr;
  state().packetLength = nullptr;
  DmCloseDatabase(db);

  db = static_cast<DmOpenRef>(__OpenTmpDb(0, "sync_list", 1, 'L'));
  EXPECT_EQ(GetTmpDbQtdRecs(db), 0) << "opened empty";
  DmCloseDatabase(db);
  EXPECT_EQ(__DeleteTmpDb(0, "sync_list", 'L'), 1);
  EXPECT_EQ(__DeleteTmpDb(0, "sync_list", 'L'), 0);
  EXPECT_FALSE(exists("SYNC_LIST.tLog"));
  EXPECT_EQ(__OpenTmpDb(0, nullptr, 0, 'L'), nullptr);
  EXPECT_EQ(__OpenTmpDb(0, std::string(130, 'n').c_str(), 0, 'L'), nullptr);
}

TEST_F(TempDbTest, TablesWithUnsentRecordsWaitInTheQueue) {
  createAndUse("STOCK", {{"QTY", "N", 4, 0}});
  append({{"QTY", N(1)}});
  __Commit(nullptr);
  __dbCloseAll();
  EXPECT_EQ(Op_DeleteTbl("STOCK"), 0) << "a marked record keeps the table";
  EXPECT_TRUE(exists("STOCK"));
  EXPECT_EQ(Op_DeleteTbl("STOCK"), 0);
  DmOpenRef queue = static_cast<DmOpenRef>(__OpenTmpDb(0, "EnqueueDelete", 0, 'L'));
  EXPECT_EQ(DmNumRecords(queue), 1u) << "enqueued once";
  DmCloseDatabase(queue);

  use("STOCK");
  SETDIRTY(nullptr, N(1), L(false));
  __dbCloseAll();
  restart();  // the queue is worked off at start
  EXPECT_FALSE(exists("STOCK"));
  queue = static_cast<DmOpenRef>(__OpenTmpDb(0, "EnqueueDelete", 0, 'L'));
  EXPECT_EQ(DmNumRecords(queue), 0u);
  DmCloseDatabase(queue);
  EXPECT_EQ(Op_DeleteTbl("STOCK"), 0) << "no such table";
}

class RescueTest : public DataTest {
 protected:
  static std::string show(pObj_Node v) {
    if (!v) return "null";
    pObj_Node a = v->objKind == vArray ? v : v->objType == T_ARRAY ? v->objData.array : nullptr;
    if (a) {
      std::string s = "{";
      for (int i = 0; i < __Array_Get_Amnt_Itens(a); ++i) s += (i ? "," : "") + show(__GET_ARRAY_EL(a, i));
      return s + "}";
    }
    switch (v->objType) {
      case T_DOUBLE: return std::to_string(v->objData.dValue).substr(0, 4);
      case T_DATE: return "d" + std::to_string(static_cast<long>(v->objData.dValue));
      case T_CHARPTR: return "\"" + str(v) + "\"";
      case T_NIL: return "NIL";
      case T_BOOL: return v->objData.bValue ? ".T." : ".F.";
      default: return "?";
    }
  }
};

TEST_F(RescueTest, RegisteredArraysComeBackAfterAFatalError) {
  pObj_Node inner = __CreateArray(N(1.5), S("text"), Dt(40000), L(true), __INIT_NIL(), __INIT_NUL());
  pObj_Node deep = __CreateArray(__CreateArray(S("deeper"), __INIT_NUL()), N(2), __INIT_NUL());
  pObj_Node top = __CreateArray(inner, S("not saved"), deep, __INIT_NUL());
  EXPECT_TRUE(truth(__RegisterArray(S("SAVED"), top)));
  EXPECT_FALSE(truth(__RegisterArray(S("SAVED"), top))) << "a name is registered once";
  EXPECT_FALSE(truth(__RegisterArray(S("OTHER"), S("not an array"))));
  EXPECT_FALSE(truth(__RegisterArray(S("OTHER"), nullptr)));
  EXPECT_EQ(errorOf([&] { __RegisterArray(N(1), top); }).first, ARGUMENT_ERROR);
  // Changes made after registering are what is saved.
  __AAdd(inner, S("added later"));
  ASSERT_NE(core::hooks().dumpRegisteredArrays, nullptr);
  core::hooks().dumpRegisteredArrays();
  restart();
  pObj_Node back = __RestoreArray(S("SAVED"));
  EXPECT_EQ(show(back), "{{1.50,\"text\",d40000,.T.,NIL,\"added later\"},{{\"deeper\"},2.00}}");
  EXPECT_FALSE(exists("SAVED.tLog")) << "restoring deletes the dump";
  EXPECT_EQ(__RestoreArray(S("SAVED"))->objType, static_cast<uint32_t>(T_NIL));
}

TEST_F(RescueTest, DumpEdgeCases) {
  EXPECT_FALSE(truth(ExecDumpArray(S("EMPTY"), __CreateArray(__INIT_NUL()))));
  EXPECT_FALSE(truth(ExecDumpArray(N(1), __CreateArray(N(1), __INIT_NUL()))));
  // An array that holds itself is written without end.
  pObj_Node loop = __CreateArray(__CreateArray(N(7), __INIT_NUL()), __INIT_NUL());
  pObj_Node inner = __GET_ARRAY_EL(loop, 0);
  __AAdd(inner, inner);
  EXPECT_TRUE(truth(ExecDumpArray(S("LOOP"), loop)));
  EXPECT_EQ(show(__RestoreArray(S("LOOP"))), "{{7.00,NIL}}");
  __ASize(inner, N(1));  // let the context end free it
  // Only scalar top-level elements: nothing comes back.
  EXPECT_TRUE(truth(ExecDumpArray(S("FLAT"), __CreateArray(N(1), N(2), __INIT_NUL()))));
  EXPECT_EQ(__RestoreArray(S("FLAT"))->objType, static_cast<uint32_t>(T_NIL));
  // A dump cut short or full of nonsense restores what it can.
  DmOpenRef db = static_cast<DmOpenRef>(__OpenTmpDb(0, "JUNK", 1, 'L'));
  const uint32_t huge = 0x7fffffff;
  appendTmpRecord(db, &huge, 4);
  appendTmpRecord(db, &huge, 4);
  appendTmpRecord(db, "x", 1);
  DmCloseDatabase(db);
  EXPECT_EQ(show(__RestoreArray(S("JUNK"))), "{{}}");
}

}  // namespace
