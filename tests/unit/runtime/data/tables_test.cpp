// Tables and work areas: creation and its argument errors, opening and
// aliases, the record pointer at the edges, field values of every type,
// deleted records, dirty attributes, zap and pack.
#include <string.h>

#include <string>

#include "data_fixture.h"
#include "store.h"
#include "work_area.h"

using namespace data;

namespace {

class TablesTest : public DataTest {
 protected:
  void people() {
    createAndUse("PEOPLE", {{"ID", "N", 6, 0}, {"NAME", "C", 10, 0}, {"BORN", "D", 8, 0}, {"OK", "L", 1, 0}}, "PEO");
  }
  void fill(int n) {
    for (int i = 1; i <= n; ++i) append({{"ID", N(i)}, {"NAME", S(("P" + std::to_string(i)).c_str())}});
    __Commit(nullptr);
  }
  bool eof() { return truth(__TBL_Eof(nullptr)); }
  bool bof() { return truth(__TBL_Bof(nullptr)); }
  double recno() { return num(__TBL_RecNo(nullptr)); }
  double id() { return num(get("ID")); }
  std::string storedBytes(uint32_t index) {
    WorkArea* w = areaAt(state().currentArea);
    uint32_t size = 0;
    const char* p = recordBytes(w->schema.db, index, &size);
    return p ? std::string(p, size) : "<none>";
  }
};

TEST_F(TablesTest, EmptyTable) {
  people();
  EXPECT_TRUE(truth(__Used()));
  EXPECT_EQ(str(__Alias(nullptr)), "PEO");
  EXPECT_EQ(num(__TBL_Fcount(nullptr)), 4);
  EXPECT_EQ(num(__TBL_RecCount(nullptr)), 0);
  EXPECT_TRUE(eof());
  EXPECT_TRUE(bof());
  EXPECT_EQ(recno(), 1);
  EXPECT_FALSE(truth(__TBL_Skip(nullptr)));
  EXPECT_TRUE(eof() && bof());
  __TBL_GoBottom(nullptr);
  EXPECT_TRUE(eof() && bof());
}

TEST_F(TablesTest, PointerAtTheEdges) {
  people();
  fill(3);
  struct Move {
    const char* what;
    void (*move)();
    double recno;
    bool eof, bof;
  };
  const Move moves[] = {
      {"top", [] { __TBL_GoTop(nullptr); }, 1, false, false},
      {"skip -1 from the first", [] { __TBL_Skip(nullptr, __INIT_DOUBLE(-1)); }, 1, false, true},
      {"skip 1", [] { __TBL_Skip(nullptr); }, 2, false, false},
      {"bottom", [] { __TBL_GoBottom(nullptr); }, 3, false, false},
      {"skip past the end", [] { __TBL_Skip(nullptr); }, 4, true, false},
      {"skip -1 back from the end", [] { __TBL_Skip(nullptr, __INIT_DOUBLE(-1)); }, 3, false, false},
      {"skip 10", [] { __TBL_Skip(nullptr, __INIT_DOUBLE(10)); }, 4, true, false},
      {"go to 2", [] { __TBL_GoTo(nullptr, __INIT_DOUBLE(2)); }, 2, false, false},
      {"go to 9", [] { __TBL_GoTo(nullptr, __INIT_DOUBLE(9)); }, 4, true, false},
      {"go to 0", [] { __TBL_GoTo(nullptr, __INIT_DOUBLE(0)); }, 1, false, true},
      {"go to the last", [] { __TBL_GoTo(nullptr, __INIT_DOUBLE(kAfterLast)); }, 3, false, false},
      {"skip -5", [] { __TBL_Skip(nullptr, __INIT_DOUBLE(-5)); }, 1, false, true},
  };
  for (const Move& m : moves) {
    m.move();
    EXPECT_EQ(recno(), m.recno) << m.what;
    EXPECT_EQ(eof(), m.eof) << m.what;
    EXPECT_EQ(bof(), m.bof) << m.what;
    if (!m.eof) {
      EXPECT_EQ(id(), m.recno) << m.what;
    }
  }
  __TBL_Skip(nullptr, __INIT_DOUBLE(100));
  EXPECT_EQ(id(), 0) << "past the end the buffer is blank";
  EXPECT_EQ(str(get("NAME")), std::string(10, ' '));
  EXPECT_EQ(errorOf([] { __TBL_Skip(nullptr, __INIT_CHARPTR("1")); }).first, ARGUMENT_ERROR);
}

TEST_F(TablesTest, HiddenDeletedRecords) {
  people();
  fill(5);
  for (int r : {1, 3, 5}) {
    __TBL_GoTo(nullptr, N(r));
    __TBL_Delete(nullptr);
  }
  __Commit(nullptr);
  __Set(N(11), L(true));
  std::string seen;
  for (__TBL_GoTop(nullptr); !eof(); __TBL_Skip(nullptr)) seen += std::to_string(static_cast<int>(id()));
  EXPECT_EQ(seen, "24");
  __TBL_GoBottom(nullptr);
  EXPECT_EQ(id(), 4);
  __TBL_Skip(nullptr, N(-1));
  EXPECT_EQ(id(), 2);
  __TBL_Skip(nullptr, N(-1));
  EXPECT_TRUE(bof());
  EXPECT_EQ(id(), 2) << "running off the start stands on the first live record";
  __TBL_GoTo(nullptr, N(3));
  EXPECT_EQ(id(), 3) << "a move by number shows a deleted record";
  for (int r : {2, 4}) {
    __TBL_GoTo(nullptr, N(r));
    __TBL_Delete(nullptr);
  }
  __TBL_GoTop(nullptr);
  EXPECT_TRUE(eof()) << "every record deleted: the table looks empty";
  EXPECT_EQ(num(__TBL_RecCount(nullptr)), 5);
  __Set(N(11), L(false));
  __TBL_GoTop(nullptr);
  EXPECT_FALSE(eof());
  EXPECT_TRUE(truth(__TBL_Deleted(nullptr)));
}

TEST_F(TablesTest, FieldValuesOfEveryType) {
  createAndUse("TYPES", {{"N", "N", 12, 2}, {"D", "D", 0, 0}, {"C", "C", 10, 0}, {"L", "L", 1, 0}, {"M", "M", 0, 0}});
  append({{"N", N(-1234.5)}, {"D", Dt(45000)}, {"C", S("AB")}, {"L", L(true)}, {"M", S("a memo text")}});
  append({{"N", N(0.25)}, {"C", S("exactly 10")}});
  append({{"C", S("longer than ten")}});
  __Commit(nullptr);
  EXPECT_EQ(storedBytes(0).size(), 8 + 8 + 3 + 1 + 4 + 2u);
  EXPECT_EQ(storedBytes(0).substr(16, 3), std::string("AB\0", 3)) << "a C field is stored trimmed";
  restart();
  use("TYPES");
  EXPECT_EQ(num(get("N")), -1234.5);
  EXPECT_EQ(get("D")->objType, static_cast<uint32_t>(T_DATE));
  EXPECT_EQ(num(get("D")), 45000);
  EXPECT_EQ(str(get("C")), "AB        ");
  EXPECT_TRUE(truth(get("L")));
  EXPECT_EQ(str(get("M")), "a memo text");
  __TBL_Skip(nullptr);
  EXPECT_EQ(str(get("C")), "exactly 10");
  EXPECT_FALSE(truth(get("L")));
  EXPECT_EQ(str(get("M")), "");
  __TBL_Skip(nullptr);
  EXPECT_EQ(str(get("C")), "longer tha");
  EXPECT_EQ(num(__FieldLen(nullptr, S("d"))), 8);
  EXPECT_EQ(num(__FieldDecLen(nullptr, S("N"))), 2);
  EXPECT_EQ(str(__FieldType(nullptr, S("M"))), "M");
  EXPECT_EQ(str(__FieldType(nullptr, S("NOPE"))), "U");
  EXPECT_EQ(num(__GetFieldPos(nullptr, S("c"))), 3);
  EXPECT_EQ(num(__GetFieldPos(nullptr, S("NOPE"))), 0);
  EXPECT_EQ(str(__GetFieldName(nullptr, N(4))), "L");
  EXPECT_EQ(num(__TBL_RecSize()), 8 + 8 + 11 + 1 + 4 + 2);
}

TEST_F(TablesTest, WrongValuesAndFields) {
  createAndUse("CHECKS", {{"N", "N", 5, 0}, {"D", "D", 8, 0}, {"C", "C", 5, 0}, {"L", "L", 1, 0}, {"M", "M", 4, 0}});
  __DBAPPEND(nullptr);
  struct Case {
    const char* field;
    pObj_Node (*value)();
  };
  const Case wrong[] = {
      {"N", [] { return __INIT_CHARPTR("1"); }}, {"D", [] { return __INIT_DOUBLE(1); }},
      {"C", [] { return __INIT_DOUBLE(1); }},    {"L", [] { return __INIT_NIL(); }},
      {"M", [] { return __INIT_BOOL(1); }},
  };
  for (const Case& c : wrong) EXPECT_EQ(errorOf([&] { put(c.field, c.value()); }).first, ARGUMENT_ERROR) << c.field;
  EXPECT_EQ(errorOf([] { __SetField(nullptr, nullptr, __INIT_DOUBLE(1)); }), std::make_pair(3, 23));
  EXPECT_EQ(errorOf([] { get("NOPE"); }), std::make_pair(4, 27));
  EXPECT_EQ(errorOf([] { __GetFieldByID(nullptr, __INIT_DOUBLE(6)); }), std::make_pair(4, 26));
  EXPECT_EQ(errorOf([] { put("NOPE", __INIT_DOUBLE(1)); }).first, -1) << "an unknown position does nothing";
}

TEST_F(TablesTest, SetFieldAtTheEndChangesNothing) {
  people();
  fill(1);
  __TBL_Skip(nullptr);
  ASSERT_TRUE(eof());
  EXPECT_EQ(errorOf([] { put("ID", __INIT_DOUBLE(99)); }).first, -1);
  __TBL_GoTop(nullptr);
  EXPECT_EQ(id(), 1);
  EXPECT_EQ(num(__TBL_RecCount(nullptr)), 1);
}

TEST_F(TablesTest, DirtyAttributes) {
  people();
  fill(2);
  EXPECT_TRUE(truth(__IsDirty(nullptr, N(1))));
  EXPECT_TRUE(truth(SETDIRTY(nullptr, N(1), L(false))));
  EXPECT_FALSE(truth(__IsDirty(nullptr, N(1))));
  __TBL_GoTo(nullptr, N(1));
  put("NAME", S("changed"));
  __Commit(nullptr);
  EXPECT_TRUE(truth(__IsDirty(nullptr, nullptr))) << "a write marks the record";
  __TBL_Delete(nullptr);
  __Commit(nullptr);
  EXPECT_FALSE(truth(__IsDirty(nullptr, nullptr))) << "a deleted record is not sent";
  EXPECT_TRUE(truth(__TBL_Deleted(nullptr)));
  EXPECT_FALSE(truth(SETDIRTY(nullptr, N(7), L(true))));
  EXPECT_FALSE(truth(__IsDirty(nullptr, N(7))));
  EXPECT_EQ(errorOf([] { SETDIRTY(nullptr, nullptr, __INIT_DOUBLE(1)); }).first, ARGUMENT_ERROR);
}

TEST_F(TablesTest, CreateReplacesAnOpenTable) {
  people();
  fill(4);
  EXPECT_TRUE(truth(__DBCREATE(S("people"), structure({{"OTHER", "C", 3, 0}}))));
  EXPECT_EQ(errorOf([] { __TBL_RecCount(__INIT_CHARPTR("PEO")); }), std::make_pair(14, 11)) << "its area was closed";
  use("PEOPLE");
  EXPECT_EQ(num(__TBL_RecCount(nullptr)), 0);
  EXPECT_EQ(num(__TBL_Fcount(nullptr)), 1);
}

TEST_F(TablesTest, CreateArgumentErrors) {
  struct Case {
    const char* what;
    pObj_Node (*call)();
    std::pair<int, int> error;
  };
  const Case cases[] = {
      {"no name",
       [] {
         return __DBCREATE(nullptr, structure({{"A", "C", 1, 0}}));
       },
       {3, 37}},
      {"no structure", [] { return __DBCREATE(__INIT_CHARPTR("T"), __INIT_NIL()); }, {3, 37}},
      {"name not text",
       [] {
         return __DBCREATE(__INIT_DOUBLE(1), structure({{"A", "C", 1, 0}}));
       },
       {0, -1}},
      {"empty name",
       [] {
         return __DBCREATE(__INIT_CHARPTR(""), structure({{"A", "C", 1, 0}}));
       },
       {6, 38}},
      {"no fields", [] { return __DBCREATE(__INIT_CHARPTR("T"), structure({})); }, {6, 39}},
      {"unknown type",
       [] {
         return __DBCREATE(__INIT_CHARPTR("T"), structure({{"A", "X", 1, 0}}));
       },
       {6, 40}},
      {"twice the same field",
       [] {
         return __DBCREATE(__INIT_CHARPTR("T"), structure({{"A", "C", 1, 0}, {"a", "N", 1, 0}}));
       },
       {6, 40}},
      {"the hidden field",
       [] {
         return __DBCREATE(__INIT_CHARPTR("T"), structure({{"D_E_L_E_T_", "C", 2, 0}}));
       },
       {6, 40}},
      {"negative length",
       [] {
         return __DBCREATE(__INIT_CHARPTR("T"), structure({{"A", "C", -1, 0}}));
       },
       {6, 40}},
      {"driver SQLITE",
       [] {
         return __DBCREATE(__INIT_CHARPTR("T"), structure({{"A", "C", 1, 0}}), __INIT_CHARPTR("sqlite"));
       },
       {18, 1}},
      {"driver 1",
       [] {
         return __DBCREATE(__INIT_CHARPTR("T"), structure({{"A", "C", 1, 0}}), __INIT_DOUBLE(1));
       },
       {18, 1}},
  };
  for (const Case& c : cases) EXPECT_EQ(errorOf(c.call), c.error) << c.what;
  pObj_Node shortRow = __fcpObj_CT(vArray);
  __AAdd(shortRow, __CreateArray(__INIT_CHARPTR("A"), __INIT_CHARPTR("C"), __INIT_DOUBLE(1), __INIT_NUL()));
  EXPECT_EQ(errorOf([&] { __DBCREATE(S("T"), shortRow); }), std::make_pair(6, 40));
  EXPECT_EQ(DmFindDatabase(0, "T"), 0u) << "nothing was created";
  EXPECT_TRUE(truth(__DBCREATE(S("T"), structure({{"A", "C", 1, 0}}), S("LOCAL"))));
  EXPECT_TRUE(truth(__DBCREATE(S("T"), structure({{"A", "C", 1, 0}}), N(0))));
}

TEST_F(TablesTest, OpeningErrors) {
  EXPECT_EQ(errorOf([] { __DBUSEAREA(__INIT_BOOL(1), nullptr, nullptr, nullptr); }), std::make_pair(3, 54));
  EXPECT_EQ(errorOf([] { __DBUSEAREA(__INIT_BOOL(1), nullptr, __INIT_CHARPTR(""), nullptr); }), std::make_pair(3, 54));
  EXPECT_EQ(errorOf([] { use("MISSING"); }), std::make_pair(14, 53));
  EXPECT_EQ(errorOf([] { __DBUSEAREA(__INIT_BOOL(1), __INIT_CHARPTR("SQLITE"), __INIT_CHARPTR("X"), nullptr); }),
            std::make_pair(18, 1));
  EXPECT_EQ(errorOf([] { __TBL_GoTop(nullptr); }), std::make_pair(14, 11)) << "no area open";
  EXPECT_EQ(errorOf([] { __TBL_GoTop(__INIT_BOOL(1)); }), std::make_pair(14, 11));
  EXPECT_FALSE(truth(__Used()));
  EXPECT_EQ(errorOf([] { __DB_CloseArea(nullptr); }).first, -1) << "closing an unused area does nothing";
  // A table whose structure block is gone.
  ASSERT_EQ(DmCreateDatabase(0, "BARE", kCreatorTables, kTypeData), errNone);
  EXPECT_EQ(errorOf([] { use("BARE"); }), std::make_pair(3, 55));
  EXPECT_TRUE(boxSays("no appinfo"));
  // A table file filled with garbage.
  people();
  fill(3);
  __dbCloseAll();
  writeFile("PEOPLE", std::string(static_cast<size_t>(sizeOf("PEOPLE")), '\x33'));
  EXPECT_EQ(errorOf([] { use("PEOPLE"); }), std::make_pair(3, 55));
  EXPECT_TRUE(boxSays("Falhou Abertura de PEOPLE"));
}

TEST_F(TablesTest, AliasesAndAreas) {
  people();
  createAndUse("ORDERS", {{"NO", "N", 4, 0}});
  EXPECT_EQ(num(__Select(S("peo"))), 1) << "aliases are found in any case";
  EXPECT_EQ(str(__Alias(nullptr)), "PEO");
  EXPECT_EQ(num(__Select(S("orders"))), 2);
  EXPECT_EQ(num(__Select(S("PEOPLE"))), 1) << "the table name finds its area";
  EXPECT_EQ(num(__Select(S("NOPE"))), 0);
  // An alias that is a program constant is recognised by the constant itself.
  Obj_Node constant;
  __InitObjNode(&constant, T_CHARPTR);
  constant.objKind = vConstant;
  char text[] = "CONST";
  constant.objData.mbuff = text;
  constant.objLength = sizeof text;
  __DBUSEAREA(L(true), nullptr, S("ORDERS"), &constant);
  EXPECT_EQ(areaAt(__GetAliasID(&constant))->aliasObject, &constant);
  EXPECT_EQ(areaAt(__GetAliasID(S("PEO")))->aliasObject, nullptr) << "other values are not kept";
  __DB_CloseArea(&constant);
  __Select(S("PEO"));
  EXPECT_EQ(str(__Alias(nullptr)), "PEO") << "an unknown alias leaves the current area";
  EXPECT_EQ(num(__Select(N(2))), 2);
  EXPECT_EQ(__GetAliasID(S("ORDERS")), 1);
  EXPECT_EQ(__GetAliasID(S("NOPE")), -1);
  int slot = 7;
  EXPECT_EQ(__GetRddKind(S("NOPE"), &slot), 6);
  EXPECT_EQ(slot, -1);
  EXPECT_EQ(__GetRddKind(nullptr, &slot), 0);
  EXPECT_EQ(errorOf([] { __GetAliasID(__INIT_BOOL(1)); }), std::make_pair(14, 11));
  // An area selected by number before use takes the next table opened into it.
  __Select(N(5));
  EXPECT_FALSE(truth(__Used()));
  __DBUSEAREA(__INIT_BOOL(0), nullptr, S("ORDERS"), S("AGAIN"));
  EXPECT_EQ(num(__Select(nullptr)), 5);
  EXPECT_EQ(errorOf([] { __TBL_RecCount(__INIT_CHARPTR("ORDERS")); }).first, -1);
  // Reopening under an alias in use closes the area that had it.
  __DBUSEAREA(__INIT_BOOL(1), nullptr, S("PEOPLE"), S("AGAIN"));
  EXPECT_EQ(num(__Select(S("AGAIN"))), 3) << "the first free slot is taken again";
}

TEST_F(TablesTest, AreaTableGrowsBy128) {
  __DBCREATE(S("MANY"), structure({{"A", "N", 1, 0}}));
  for (int i = 0; i < 130; ++i) __DBUSEAREA(L(true), nullptr, S("MANY"), S(("A" + std::to_string(i)).c_str()));
  EXPECT_EQ(state().TBL_amnt_open_dbs, 130);
  EXPECT_EQ(state().areas.size(), 256u);
  __DB_CloseArea(S("A7"));
  __DBUSEAREA(L(true), nullptr, S("MANY"), S("LATE"));
  EXPECT_EQ(__GetAliasID(S("LATE")), 7);
  __dbCloseAll();
  EXPECT_EQ(state().TBL_amnt_open_dbs, 0);
  EXPECT_FALSE(truth(__Used()));
}

TEST_F(TablesTest, AbortEditDropsTheChanges) {
  people();
  fill(2);
  __TBL_GoTop(nullptr);
  put("NAME", S("lost"));
  __AbortEdit(nullptr);
  EXPECT_EQ(id(), 2) << "abort goes to the bottom";
  __TBL_GoTop(nullptr);
  EXPECT_EQ(str(get("NAME")), "P1        ");
  __DBAPPEND(nullptr);
  put("ID", N(3));
  __AbortEdit(nullptr);
  EXPECT_EQ(num(__TBL_RecCount(nullptr)), 2);
}

TEST_F(TablesTest, ZapAndPack) {
  createAndUse("MEMOS", {{"ID", "N", 4, 0}, {"NOTE", "M", 10, 0}});
  for (int i = 1; i <= 6; ++i) append({{"ID", N(i)}, {"NOTE", S(i % 2 ? ("memo " + std::to_string(i)).c_str() : "")}});
  __TBL_GoTo(nullptr, N(2));
  put("NOTE", S("memo 2 second value"));
  for (int r : {1, 4}) {
    __TBL_GoTo(nullptr, N(r));
    __TBL_Delete(nullptr);
  }
  __dbPack(nullptr);
  EXPECT_EQ(num(__TBL_RecCount(nullptr)), 4);
  std::string seen;
  for (__TBL_GoTop(nullptr); !eof(); __TBL_Skip(nullptr))
    seen += std::to_string(static_cast<int>(id())) + "=" + str(get("NOTE")) + ";";
  EXPECT_EQ(seen, "2=memo 2 second value;3=memo 3;5=memo 5;6=;");
  EXPECT_EQ(DmNumRecords(areaAt(state().currentArea)->st.memo), 3u) << "only the memos in use are kept";
  restart();
  use("MEMOS");
  __TBL_GoTo(nullptr, N(3));
  EXPECT_EQ(str(get("NOTE")), "memo 5");
  __dbZap(nullptr);
  EXPECT_EQ(num(__TBL_RecCount(nullptr)), 0);
  EXPECT_TRUE(eof() && bof());
  EXPECT_EQ(DmNumRecords(areaAt(state().currentArea)->st.memo), 0u);
  // Every record deleted: an empty table, eof and bof set.
  fill(2);
  for (int r : {1, 2}) {
    __TBL_GoTo(nullptr, N(r));
    __TBL_Delete(nullptr);
  }
  __dbPack(nullptr);
  EXPECT_EQ(num(__TBL_RecCount(nullptr)), 0);
  EXPECT_TRUE(eof() && bof());
}

TEST_F(TablesTest, StructureAndDeletion) {
  people();
  pObj_Node s = __DBStruct(nullptr);
  ASSERT_EQ(__Array_Get_Amnt_Itens(s), 4);
  pObj_Node born = __GET_ARRAY_EL(s, 2);
  EXPECT_EQ(str(__GET_ARRAY_EL(born, 0)), "BORN");
  EXPECT_EQ(str(__GET_ARRAY_EL(born, 1)), "D");
  EXPECT_EQ(num(__GET_ARRAY_EL(born, 2)), 8);
  EXPECT_EQ(num(__TBL_DeleteDatabase(S("PEOPLE"))), 1);
  EXPECT_FALSE(exists("PEOPLE"));
  EXPECT_FALSE(truth(__Used()));
  EXPECT_EQ(num(__TBL_DeleteDatabase(S("PEOPLE"))), 0);
}

TEST_F(TablesTest, RecordsLongerThanTheStoreTakes) {
  createAndUse("WIDE", {{"A", "C", 10000, 0}, {"B", "C", 10000, 0}});
  append({{"A", S(std::string(10000, 'a').c_str())}});
  __Commit(nullptr);
  __DBAPPEND(nullptr);
  put("A", S(std::string(10000, 'a').c_str()));
  put("B", S(std::string(10000, 'b').c_str()));
  EXPECT_EQ(errorOf([] { __Commit(nullptr); }).first, RUNTIME_ERROR);
  EXPECT_TRUE(boxSays("excede 15360"));
  EXPECT_EQ(num(__TBL_RecCount(nullptr)), 2) << "the record being appended still counts";
  __AbortEdit(nullptr);
  EXPECT_EQ(num(__TBL_RecCount(nullptr)), 1) << "the table keeps what it had";
}

}  // namespace
