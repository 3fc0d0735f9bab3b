// Indexes: the counted tree against a plain model, key expressions and key
// order for every field type, seeks at their edges, re-keying, orders, the
// rebuilds an index needs, and the catalog tables and message log on top.
#include <string.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "data_fixture.h"
#include "index_layer.h"
#include "index_tree.h"
#include "store.h"

using namespace data;

namespace {

class IndexTest : public DataTest {
 protected:
  static bool eof() { return truth(__TBL_Eof(nullptr)); }
  static bool bof() { return truth(__TBL_Bof(nullptr)); }
  static bool found() { return truth(__TBL_Found(nullptr)); }
  static std::string trimmed(pObj_Node v) {
    std::string s = str(v);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
  }
  // Every record in the active order, one field each, joined by ','.
  static std::string walk(const char* field) {
    std::string out;
    bool first = true;
    for (__TBL_GoTop(nullptr); !eof(); __TBL_Skip(nullptr)) {
      pObj_Node v = get(field);
      std::string item = v->objType == T_CHARPTR ? trimmed(v) : std::to_string(static_cast<long>(num(v)));
      out += (first ? "" : ",") + item;
      first = false;
    }
    return out;
  }
  static bool seek(const char* key, bool soft = false) { return truth(__Seek(nullptr, S(key), L(soft))); }
  void names(std::initializer_list<const char*> list) {
    createAndUse("NAMES", {{"ID", "N", 4, 0}, {"NAME", "C", 10, 0}});
    int id = 0;
    for (const char* n : list) append({{"ID", N(++id)}, {"NAME", S(n)}});
    __Commit(nullptr);
  }
};

// Entries of 8 bytes: a record index and a 4-byte big-endian key.
std::string entry(uint32_t record, uint32_t key) {
  std::string e(8, '\0');
  memcpy(&e[0], &record, 4);
  for (int i = 0; i < 4; ++i) e[4 + i] = static_cast<char>(key >> (24 - 8 * i));
  return e;
}

TEST_F(IndexTest, TreeMatchesAPlainModel) {
  ASSERT_EQ(DmCreateDatabase(0, "TREE", kCreatorTables, kTypeIndex), errNone);
  DmOpenRef db = DmOpenDatabase(0, DmFindDatabase(0, "TREE"), dmModeReadWrite);
  ASSERT_TRUE(tree::setup(db, 8));
  std::vector<std::string> model;
  std::mt19937 random(7);
  for (int step = 0; step < 30000; ++step) {
    const bool grow = model.size() < 200 || random() % 100 < 60;
    if (grow) {
      const std::string e = entry(static_cast<uint32_t>(step), random() % 5000);
      const tree::Probe probe{e.data() + 4, 4, true, static_cast<uint32_t>(step)};
      const uint32_t at = tree::lowerBound(db, probe);
      const auto expected =
          std::lower_bound(model.begin(), model.end(), e, [](const std::string& a, const std::string& b) {
            const int c = memcmp(a.data() + 4, b.data() + 4, 4);
            if (c) return c < 0;
            uint32_t ra, rb;
            memcpy(&ra, a.data(), 4);
            memcpy(&rb, b.data(), 4);
            return ra < rb;
          });
      ASSERT_EQ(at, static_cast<uint32_t>(expected - model.begin())) << "step " << step;
      if (step % 2)
        ASSERT_TRUE(tree::insertAt(db, at, e.data()));
      else
        ASSERT_EQ(tree::insertSorted(db, probe, e.data()), at);
      model.insert(expected, e);
    } else {
      const uint32_t at = static_cast<uint32_t>(random() % model.size());
      ASSERT_TRUE(tree::removeAt(db, at));
      model.erase(model.begin() + at);
    }
    if (step % 997 == 0) {
      ASSERT_EQ(tree::count(db), model.size());
      for (size_t i = 0; i < model.size(); i += 13)
        ASSERT_EQ(std::string(tree::entryAt(db, static_cast<uint32_t>(i)), 8), model[i]) << "step " << step;
    }
  }
  // Removing everything leaves an empty tree that takes entries again.
  while (tree::count(db) > 0) tree::removeAt(db, tree::count(db) / 2);
  EXPECT_EQ(tree::entryAt(db, 0), nullptr);
  EXPECT_TRUE(tree::insertAt(db, 0, entry(1, 1).data()));
  // A built tree reads back in order and survives a restart.
  std::vector<std::string> sorted;
  for (uint32_t i = 0; i < 5000; ++i) sorted.push_back(entry(i, i * 3));
  std::string packed;
  for (const std::string& e : sorted) packed += e;
  ASSERT_TRUE(tree::build(db, packed.data(), nullptr, 5000));
  DmCloseDatabase(db);
  restart();
  db = DmOpenDatabase(0, DmFindDatabase(0, "TREE"), dmModeReadWrite);
  EXPECT_TRUE(tree::closedCleanly(db));
  ASSERT_EQ(tree::count(db), 5000u);
  for (uint32_t i = 0; i < 5000; i += 7) EXPECT_EQ(std::string(tree::entryAt(db, i), 8), sorted[i]);
  const std::string key = entry(0, 300).substr(4);
  EXPECT_EQ(tree::lowerBound(db, tree::Probe{key.data(), 4, false, 0}), 100u);
  tree::insertAt(db, 0, entry(9, 0).data());
  EXPECT_FALSE(tree::closedCleanly(db)) << "a change marks the tree until it is closed";
  DmCloseDatabase(db);
}

TEST_F(IndexTest, QueuedEntriesJoinBeforeAnyRead) {
  ASSERT_EQ(DmCreateDatabase(0, "QUEUE", kCreatorTables, kTypeIndex), errNone);
  DmOpenRef db = DmOpenDatabase(0, DmFindDatabase(0, "QUEUE"), dmModeReadWrite);
  ASSERT_TRUE(tree::setup(db, 8));
  for (uint32_t i = 0; i < 10; ++i) tree::insertAt(db, i, entry(i, i * 10).data());
  // Few queued entries go in one by one, many by a rebuild: both in key order.
  for (uint32_t round : {3u, 400u}) {
    for (uint32_t i = 0; i < round; ++i) {
      const uint32_t record = tree::count(db) + 1000 * round + i;
      tree::queueInsert(db, entry(record, (i * 7919) % 1000).data());
    }
    const uint32_t n = tree::count(db);
    for (uint32_t i = 1; i < n; ++i) {
      const char* a = tree::entryAt(db, i - 1);
      const char* b = tree::entryAt(db, i);
      ASSERT_LE(memcmp(a + 4, b + 4, 4), 0) << "round " << round << " at " << i;
    }
  }
  tree::queueInsert(db, entry(99999, 5).data());
  DmCloseDatabase(db);
  // An empty tree built from a queue of many blocks: keys in order, equal
  // keys in record order, none lost.
  ASSERT_EQ(DmCreateDatabase(0, "QUEUED", kCreatorTables, kTypeIndex), errNone);
  DmOpenRef big = DmOpenDatabase(0, DmFindDatabase(0, "QUEUED"), dmModeReadWrite);
  ASSERT_TRUE(tree::setup(big, 8));
  const uint32_t many = 100000;
  for (uint32_t i = 0; i < many; ++i) tree::queueInsert(big, entry(i, (i * 7919) % 1000).data());
  ASSERT_EQ(tree::count(big), many);
  for (uint32_t i = 1; i < many; ++i) {
    const char* a = tree::entryAt(big, i - 1);
    const char* b = tree::entryAt(big, i);
    const int c = memcmp(a + 4, b + 4, 4);
    uint32_t ra, rb;
    memcpy(&ra, a, 4);
    memcpy(&rb, b, 4);
    ASSERT_TRUE(c < 0 || (c == 0 && ra < rb)) << i;
  }
  DmCloseDatabase(big);
  restart();
  db = DmOpenDatabase(0, DmFindDatabase(0, "QUEUE"), dmModeReadWrite);
  EXPECT_EQ(tree::count(db), 10u + 3 + 400 + 1) << "a close puts the queued entries in";
  EXPECT_TRUE(tree::closedCleanly(db));
  DmCloseDatabase(db);
}

TEST_F(IndexTest, KeyExpressions) {
  struct Case {
    const char* expression;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {"NAME", {"NAME"}},
      {"  name  ", {"NAME"}},
      {"STR(QTY)+DTOS(DUE)", {"QTY", "DUE"}},
      {"CLI->CODE + name", {"CODE", "NAME"}},
      {"STR(QTY,10,2)+ CLI-> NAME", {"QTY", "NAME"}},
      {"TBL_EMP+TBLNAME", {"TBL_EMP", "TBLNAME"}},
      {"", {}},
      {"   ", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(parseKeyExpression(c.expression), c.names) << c.expression;
}

TEST_F(IndexTest, KeysOfEveryTypeInOrder) {
  createAndUse("KEYS", {{"N", "N", 7, 2}, {"D", "D", 8, 0}, {"C", "C", 4, 0}, {"L", "L", 1, 0}});
  const double numbers[] = {3, -12.5, 0, -5, 1234.56, -0.25, 12.5};
  for (double x : numbers) append({{"N", N(x)}});
  __Commit(nullptr);
  __DBCREATEINDEX(nullptr, S("KEYS_N"), S("N"));
  std::string seen;
  for (__TBL_GoTop(nullptr); !eof(); __TBL_Skip(nullptr)) seen += std::to_string(num(get("N"))).substr(0, 6) + " ";
  EXPECT_EQ(seen, "-12.50 -5.000 -0.250 0.0000 3.0000 12.500 1234.5 ");
  EXPECT_TRUE(seek("  -5.00")) << "a number as Str() writes it finds its key";
  EXPECT_EQ(num(get("N")), -5);
  EXPECT_TRUE(seek("  12.50"));
  EXPECT_EQ(num(get("N")), 12.5);

  __dbZap(nullptr);
  const double days[] = {45000, 0, 44000, 45001};
  for (double d : days) append({{"D", Dt(d)}});
  __Commit(nullptr);
  __DBCREATEINDEX(nullptr, S("KEYS_D"), S("DTOS(D)"));
  seen.clear();
  for (__TBL_GoTop(nullptr); !eof(); __TBL_Skip(nullptr))
    seen += std::to_string(static_cast<long>(num(get("D")))) + " ";
  EXPECT_EQ(seen, "0 44000 45000 45001 ") << "the empty date first";

  __dbZap(nullptr);
  for (const char* c : {"b", "", "a b", "ab", " z"}) append({{"C", S(c)}, {"L", L(c[0] == 'a')}});
  __Commit(nullptr);
  __DBCREATEINDEX(nullptr, S("KEYS_C"), S("C"));
  EXPECT_EQ(walk("C"), ", z,a b,ab,b") << "blanks sort before letters";
  __DBCREATEINDEX(nullptr, S("KEYS_LC"), S("L+C"));
  EXPECT_EQ(walk("C"), ", z,b,a b,ab") << "false before true, then the text";
  EXPECT_EQ(str(__IndexKey(nullptr)), "L+C");
  EXPECT_EQ(str(__IndexKey(nullptr, N(1))), "N");
  EXPECT_EQ(str(__IndexKey(nullptr, N(9))), "");
  EXPECT_EQ(num(__IndexOrd(nullptr)), 4);
}

TEST_F(IndexTest, SeekAtTheEdges) {
  names({"Carla", "Ana", "Duda", "Bruno", "Ana", "Bia"});
  EXPECT_EQ(errorOf([] { seek("Ana"); }), std::make_pair(9, 5)) << "no active order";
  __DBCREATEINDEX(nullptr, S("NAMEIDX"), S("NAME"));
  EXPECT_EQ(walk("NAME"), "Ana,Ana,Bia,Bruno,Carla,Duda");
  EXPECT_TRUE(seek("Ana"));
  EXPECT_EQ(num(get("ID")), 2) << "the first of equal keys, in record order";
  EXPECT_TRUE(seek("B"));
  EXPECT_EQ(trimmed(get("NAME")), "Bia") << "a short key finds the first key starting with it";
  EXPECT_TRUE(found());
  EXPECT_FALSE(seek("Bob"));
  EXPECT_TRUE(eof()) << "soft off: a missing key goes to the end";
  EXPECT_FALSE(found());
  EXPECT_FALSE(seek("Bob", true));
  EXPECT_FALSE(eof());
  EXPECT_FALSE(found());
  EXPECT_EQ(trimmed(get("NAME")), "Bruno") << "soft on: the next greater key";
  EXPECT_FALSE(seek("Zeca", true));
  EXPECT_TRUE(eof()) << "soft seek above every key";
  EXPECT_FALSE(bof());
  EXPECT_TRUE(seek("Carla     and more")) << "a key longer than the index compares the key's length";
  EXPECT_EQ(errorOf([] { __Seek(nullptr, nullptr, nullptr); }), std::make_pair(3, 3));
  EXPECT_EQ(errorOf([] { __Seek(nullptr, __INIT_DOUBLE(1), nullptr); }), std::make_pair(3, 4));
  // Deleted records are passed over while they are hidden.
  seek("Ana");
  __TBL_Delete(nullptr);
  __Commit(nullptr);
  __Set(N(11), L(true));
  EXPECT_TRUE(seek("Ana"));
  EXPECT_EQ(num(get("ID")), 5);
  __TBL_Delete(nullptr);
  EXPECT_FALSE(seek("Ana"));
  EXPECT_TRUE(eof());
  EXPECT_FALSE(seek("Ana", true));
  EXPECT_EQ(trimmed(get("NAME")), "Bia");
  __Set(N(11), L(false));
  __dbZap(nullptr);
  EXPECT_FALSE(seek("Ana"));
  EXPECT_TRUE(eof() && bof());
}

TEST_F(IndexTest, AChangedKeyMovesItsRecord) {
  names({"Carla", "Ana", "Duda", "Bruno"});
  __DBCREATEINDEX(nullptr, S("NAMEIDX"), S("NAME"));
  seek("Ana");
  put("NAME", S("Eva"));
  __TBL_Skip(nullptr);  // the write happens here; the walk goes on from the old place
  EXPECT_EQ(walk("NAME"), "Bruno,Carla,Duda,Eva");
  __TBL_GoTo(nullptr, N(3));
  put("NAME", S("Aldo"));
  __Commit(nullptr);
  __TBL_Skip(nullptr);
  EXPECT_EQ(trimmed(get("NAME")), "Bruno") << "the next record after the new place";
  EXPECT_EQ(walk("ID"), "3,4,1,2");
  append({{"ID", N(5)}, {"NAME", S("Caio")}});
  __Commit(nullptr);
  EXPECT_EQ(walk("NAME"), "Aldo,Bruno,Caio,Carla,Eva");
  __TBL_GoBottom(nullptr);
  EXPECT_EQ(trimmed(get("NAME")), "Eva");
  __TBL_Skip(nullptr, N(-2));
  EXPECT_EQ(trimmed(get("NAME")), "Caio");
}

TEST_F(IndexTest, Orders) {
  names({"b", "c", "a"});
  __DBCREATEINDEX(nullptr, S("BYNAME"), S("NAME"));
  __DBCREATEINDEX(nullptr, S("BYID"), S("ID"));
  EXPECT_EQ(walk("NAME"), "b,c,a");
  __TBL_SetOrder(nullptr, N(1));
  EXPECT_EQ(walk("NAME"), "a,b,c");
  __TBL_GoTop(nullptr);
  __TBL_Skip(nullptr);
  __TBL_SetOrder(nullptr, N(1));
  EXPECT_EQ(trimmed(get("NAME")), "b") << "the same order again does not move";
  __TBL_SetOrder(nullptr, N(0));
  EXPECT_EQ(num(__IndexOrd(nullptr)), 0);
  EXPECT_EQ(walk("NAME"), "b,c,a");
  EXPECT_EQ(errorOf([] { __TBL_SetOrder(nullptr, __INIT_DOUBLE(3)); }), std::make_pair(13, 32));
  __UseIndex(nullptr, S("byname"));
  EXPECT_EQ(num(__IndexOrd(nullptr)), 1);
  const int slot = __GetAliasID(nullptr);
  EXPECT_EQ(__GetFirstOpenIDX(slot), 0);
  EXPECT_EQ(__GetIdxInd(slot, "BYID"), 1);
  EXPECT_EQ(__GetIdxInd(slot, "NOPE"), -1);
  __ClearIndex(nullptr);
  EXPECT_EQ(__GetFirstOpenIDX(slot), -1);
  EXPECT_EQ(walk("NAME"), "b,c,a");
  EXPECT_EQ(errorOf([] { __UseIndex(nullptr, __INIT_CHARPTR("NOPE")); }), std::make_pair(13, 16));
  EXPECT_TRUE(boxSays("INVALID_INDEX"));
  __OpenIDX(slot, 0, 0, "BYID", 1);
  __OpenIDX(slot, 0, 0, "BYNAME", 0);
  EXPECT_EQ(num(__IndexOrd(nullptr)), 2);
  __CloseIDX(slot, "BYID");
  EXPECT_EQ(num(__IndexOrd(nullptr)), 1) << "the first index still open";
  EXPECT_EQ(errorOf([&] { __CloseIDX(slot, "NOPE"); }), std::make_pair(13, 10));
  __CloseAllIdx(slot);
  EXPECT_EQ(num(__IndexOrd(nullptr)), 0);
  // Dropping an index removes its definition and its database.
  __DBDROPINDEX(nullptr, S("byid"));
  EXPECT_FALSE(exists("BYID"));
  EXPECT_EQ(__GetIdxInd(slot, "BYID"), -1);
  __DBDROPINDEX(nullptr, S("NEVER"));
  EXPECT_EQ(errorOf([] { __DBDROPINDEX(nullptr, __INIT_CHARPTR("")); }), std::make_pair(3, 44));
  __dbCloseAll();
  use("NAMES");
  __TBL_SetOrder(nullptr, N(1));
  EXPECT_EQ(walk("NAME"), "a,b,c") << "the definitions outlive the area";
}

TEST_F(IndexTest, CreateIndexErrors) {
  createAndUse("ERRS", {{"ID", "N", 4, 0}, {"NOTE", "M", 10, 0}});
  struct Case {
    const char* what;
    pObj_Node (*call)();
    std::pair<int, int> error;
  };
  const Case cases[] = {
      {"no key", [] { return __DBCREATEINDEX(nullptr, __INIT_CHARPTR("X"), nullptr); }, {12, 45}},
      {"no name", [] { return __DBCREATEINDEX(nullptr, nullptr, __INIT_CHARPTR("ID")); }, {3, 47}},
      {"name not text", [] { return __DBCREATEINDEX(nullptr, __INIT_DOUBLE(1), __INIT_CHARPTR("ID")); }, {0, -1}},
      {"empty name", [] { return __DBCREATEINDEX(nullptr, __INIT_CHARPTR(""), __INIT_CHARPTR("ID")); }, {6, 48}},
      {"empty key", [] { return __DBCREATEINDEX(nullptr, __INIT_CHARPTR("X"), __INIT_CHARPTR("  ")); }, {6, 49}},
      {"unknown field",
       [] { return __DBCREATEINDEX(nullptr, __INIT_CHARPTR("X"), __INIT_CHARPTR("ID+NOPE")); },
       {12, 51}},
      {"memo key", [] { return __DBCREATEINDEX(nullptr, __INIT_CHARPTR("X"), __INIT_CHARPTR("NOTE")); }, {3, 20}},
      {"a table's name",
       [] { return __DBCREATEINDEX(nullptr, __INIT_CHARPTR("ERRS"), __INIT_CHARPTR("ID")); },
       {12, 50}},
  };
  for (const Case& c : cases) EXPECT_EQ(errorOf(c.call), c.error) << c.what;
  EXPECT_TRUE(exists("ERRS")) << "the table is left alone";
}

TEST_F(IndexTest, RebuiltWhenItDoesNotMatchItsTable) {
  names({"d", "b", "c", "a"});
  __DBCREATEINDEX(nullptr, S("NAMEIDX"), S("NAME"));
  __dbCloseAll();
  // An entry lost behind the table's back: the counts differ.
  DmOpenRef index = DmOpenDatabase(0, DmFindDatabase(0, "NAMEIDX"), dmModeReadWrite);
  tree::removeAt(index, 0);
  DmCloseDatabase(index);
  use("NAMES");
  __TBL_SetOrder(nullptr, N(1));
  EXPECT_EQ(walk("NAME"), "a,b,c,d");
  __dbCloseAll();
  // Entries changed and the index never closed (a killed process): same count.
  index = DmOpenDatabase(0, DmFindDatabase(0, "NAMEIDX"), dmModeReadWrite);
  std::string swapped(tree::entryAt(index, 0), 14);
  swapped[4] = 'z';
  tree::replaceAt(index, 0, swapped.data());
  stop();
  std::string file = readFile("NAMEIDX");
  file[2] = 0;  // not closed cleanly
  writeFile("NAMEIDX", file);
  start();
  use("NAMES");
  __TBL_SetOrder(nullptr, N(1));
  EXPECT_EQ(walk("NAME"), "a,b,c,d");
  // A missing index database is made again.
  __dbCloseAll();
  unlink(path("NAMEIDX").c_str());
  use("NAMES");
  __TBL_SetOrder(nullptr, N(1));
  EXPECT_EQ(walk("NAME"), "a,b,c,d");
  // A damaged one: the table cannot use it, but opens.
  __dbCloseAll();
  writeFile("NAMEIDX", std::string(200, 'x'));
  EXPECT_EQ(errorOf([] { use("NAMES"); }).first, -1);
  EXPECT_EQ(errorOf([] { __TBL_SetOrder(nullptr, __INIT_DOUBLE(1)); }).first, INVALID_INDEX);
}

// The entries of an index database, in order.
std::vector<std::string> entriesOf(const char* name, uint32_t size) {
  DmOpenRef db = DmOpenDatabase(0, DmFindDatabase(0, name), dmModeReadWrite);
  std::vector<std::string> out;
  for (uint32_t i = 0; i < tree::count(db); ++i) out.emplace_back(tree::entryAt(db, i), size);
  DmCloseDatabase(db);
  return out;
}

// A rebuild sorts by other means than writes, which put entries in one by
// one: both must give the same entries in the same order, equal keys in
// record order, for short keys, long keys and keys already in order.
TEST_F(IndexTest, RebuildGivesTheEntriesWritesGive) {
  createAndUse("MIX", {{"ID", "N", 10, 0}, {"K", "N", 6, 0}, {"LONG", "C", 40, 0}});
  __DBCREATEINDEX(nullptr, S("MIX_K"), S("K"));
  __DBCREATEINDEX(nullptr, S("MIX_LONG"), S("LONG"));
  __DBCREATEINDEX(nullptr, S("MIX_ID"), S("ID"));
  std::mt19937 random(7);
  const double odd[] = {0, -0.0, 7, -3, 2.5, -2.5, 999999, 1000000, -99999, -100000, 1e15, 123456789012.0};
  for (int i = 0; i < 3000; ++i) {
    const int sign = random() % 2 ? 1 : -1;
    const double k = i < 12 ? odd[i] : sign * static_cast<double>(10 + random() % 150);
    std::string text(1 + random() % 3, static_cast<char>('a' + random() % 3));
    text.resize(35, ' ');
    text += std::to_string(random() % 4);
    append({{"ID", N(i)}, {"K", N(k)}, {"LONG", S(text.c_str())}});
  }
  __Commit(nullptr);
  __dbCloseAll();
  const std::vector<std::string> k = entriesOf("MIX_K", 10), text = entriesOf("MIX_LONG", 44),
                                 id = entriesOf("MIX_ID", 14);
  ASSERT_EQ(k.size(), 3000u);
  // Whole numbers written as formatNumber writes them, blank-padded or
  // starred when too wide.
  std::vector<std::string> keys;
  for (const std::string& e : k) keys.push_back(e.substr(4));
  const std::pair<const char*, long> expected[] = {{"     0", 2}, {"     7", 1}, {"999999", 1}, {"******", 3}};
  for (const auto& [key, times] : expected) EXPECT_EQ(std::count(keys.begin(), keys.end(), key), times) << key;
  use("MIX");
  __Reindex(nullptr);
  __dbCloseAll();
  EXPECT_EQ(entriesOf("MIX_K", 10), k);
  EXPECT_EQ(entriesOf("MIX_LONG", 44), text);
  EXPECT_EQ(entriesOf("MIX_ID", 14), id);
}

TEST_F(IndexTest, PackAndZapKeepIndexesInStep) {
  names({"d", "b", "c", "a"});
  __DBCREATEINDEX(nullptr, S("NAMEIDX"), S("NAME"));
  seek("b");
  __TBL_Delete(nullptr);
  __dbPack(nullptr);
  EXPECT_EQ(walk("NAME"), "a,c,d");
  EXPECT_TRUE(seek("d"));
  EXPECT_EQ(num(__TBL_RecNo(nullptr)), 1);
  __dbZap(nullptr);
  EXPECT_EQ(walk("NAME"), "");
  append({{"NAME", S("x")}});
  __Commit(nullptr);
  EXPECT_TRUE(seek("x"));
  __Reindex(nullptr);
  EXPECT_TRUE(seek("x"));
}

TEST_F(IndexTest, CatalogTablesOnAFreshDirectory) {
  EXPECT_EQ(OpenCatalogTables(3), 1);
  for (const char* name : {"ZEL_TBL", "ZEL_COLS", "ZEL_IND", "SYNC_IDX", "ZEL_COLS_IDX", "ZEL_COLS_FLD", "ZEL_IND_IDX"})
    EXPECT_TRUE(exists(name)) << name;
  EXPECT_GE(__GetAliasID(S("ZEL_COLS")), 0);
  EXPECT_EQ(num(__TBL_Fcount(S("ZEL_TBL"))), 9);
  EXPECT_EQ(num(__FieldLen(S("ZEL_IND"), S("EXPRE"))), 250);
  EXPECT_EQ(str(__IndexKey(S("ZEL_COLS"), N(2))), "FLDNAME+TABLEID+FLDPOS");
  EXPECT_EQ(OpenCatalogTables(3), 1) << "open tables are used as they are";
  __dbCloseAll();
  EXPECT_EQ(OpenCatalogTables(0), 1);
  EXPECT_EQ(num(__IndexOrd(S("ZEL_TBL"))), 1) << "opened with its index";
  EXPECT_EQ(OpenCatalogTables(7), 0);
}

TEST_F(IndexTest, MessageLog) {
  EXPECT_EQ(__GetAmnRecsMsgLog(), 0);
  __WriteMsgLog("first");
  const std::string longText(300, 'm');
  __WriteMsgLog(longText.c_str());
  WRITELOG(S("from the program"));
  WRITELOG();
  EXPECT_EQ(errorOf([] { WRITELOG(__INIT_DOUBLE(1)); }).first, ARGUMENT_ERROR);
  EXPECT_EQ(__GetAmnRecsMsgLog(), 3);
  char buffer[251];
  EXPECT_EQ(__ReadMsgLog(0, buffer), 5);
  EXPECT_STREQ(buffer, "first");
  EXPECT_EQ(__ReadMsgLog(1, buffer), 250) << "stored whole, read back cut";
  EXPECT_EQ(std::string(buffer), longText.substr(0, 250));
  EXPECT_EQ(__ReadMsgLog(9, buffer), 0);
  EXPECT_EQ(__CloseMsgLog(), 1);
  restart();
  EXPECT_EQ(__GetAmnRecsMsgLog(), 3) << "the log is kept";
  EXPECT_EQ(__OpenMsgLog(1), 1);
  EXPECT_EQ(__GetAmnRecsMsgLog(), 0) << "opened empty";
}

}  // namespace
