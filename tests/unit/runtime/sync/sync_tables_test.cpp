// The device's tables in a session: packing dirty records into the upload
// file, and applying download files (total, partial, damaged, refused) and
// the tables the catalog describes.
#define sync unistd_sync
#include "data_fixture.h"
#undef sync

#include <string.h>

#include "framing.h"
#include "index_tree.h"
#include "store.h"
#include "sync_packets.h"
#include "sync_state.h"
#include "sync_tables.h"
#include "table_rows.h"
#include "temp_db.h"
#include "work_area.h"

namespace {

const std::vector<wire::FieldDef> kFields = {
    {"CODE", 'C', 6, 0}, {"NAME", 'C', 20, 0}, {"BALANCE", 'N', 10, 2}, {"SINCE", 'D', 8, 0}, {"ACTIVE", 'L', 1, 0}};

wire::Row row(const char* code, const char* name, double balance, long day = 0, bool active = true) {
  wire::Row r(5);
  r[0].text = code;
  r[1].text = name;
  r[2].number = balance;
  r[3].number = static_cast<double>(day);
  r[4].logical = active;
  return r;
}

// One download row: length, operation, then the record or the key.
void addRow(std::vector<uint8_t>& rows, uint8_t operation, const std::vector<uint8_t>& body) {
  const size_t at = rows.size();
  rows.insert(rows.end(), {0, 0, operation});
  rows.insert(rows.end(), body.begin(), body.end());
  wire::put16(&rows[at], static_cast<uint16_t>(rows.size() - at), wire::Order::Big);
}
void addRecord(std::vector<uint8_t>& rows, uint8_t operation, const wire::Row& r) {
  std::vector<uint8_t> body;
  wire::appendStoredRecord(kFields, r, body);
  addRow(rows, operation, body);
}
std::vector<uint8_t> key(const char* code) {
  std::string k(code);
  k.resize(6, ' ');
  return std::vector<uint8_t>(k.begin(), k.end());
}

std::vector<uint8_t> packet(const std::vector<uint8_t>& rows, uint16_t count) {
  std::vector<uint8_t> out(wire::kBufferSize);
  const wire::Deflated d =
      wire::buildDownloadPacket(rows.data(), rows.size(), count, out.data(), out.size(), wire::Order::Big);
  out.resize(d.size);
  return out;
}

class SyncTablesTest : public DataTest {
 protected:
  void makeClients() {
    createAndUse("CLIENTS",
                 {{"CODE", "C", 6, 0},
                  {"NAME", "C", 20, 0},
                  {"BALANCE", "N", 10, 2},
                  {"SINCE", "D", 8, 0},
                  {"ACTIVE", "L", 1, 0}},
                 "CLI");
    __DBCREATEINDEX(nullptr, S("CLI_CODE"), S("CODE"));
  }
  void addClient(const char* code, const char* name, double balance) {
    append({{"CODE", S(code)}, {"NAME", S(name)}, {"BALANCE", N(balance)}, {"ACTIVE", L(true)}});
    __Commit(nullptr);
  }
  // Writes the table's download file: the header, then the packets.
  void writeDownload(char kind, bool complete, const std::vector<std::vector<uint8_t>>& packets) {
    data::DmOpenRef f = static_cast<data::DmOpenRef>(__OpenTmpDb(0, "CLIENTS", 1, 'P'));
    ASSERT_NE(f, nullptr);
    char header[11] = {kind, 0, complete ? '1' : '0', 0, '0', '0', '0', '0', '0', '1', 0};
    data::appendTmpRecord(f, header, sizeof header);
    for (const auto& p : packets) data::appendTmpRecord(f, p.data(), static_cast<uint32_t>(p.size()));
    data::DmCloseDatabase(f);
  }
  bool downloadFileExists() { return data::DmFindDatabase(0, data::tmpDbName("CLIENTS", 'P').c_str()) != 0; }
  // The table's live rows in record order: "CODE|NAME|BALANCE|dirty".
  std::vector<std::string> rows() {
    std::vector<std::string> out;
    use("CLIENTS", "CHK");
    for (__TBL_GoTop(nullptr); !truth(__TBL_Eof(nullptr)); __TBL_Skip(nullptr, N(1))) {
      std::string name = str(get("NAME"));
      name.erase(name.find_last_not_of(' ') + 1);
      char line[96];
      snprintf(line, sizeof line, "%s|%s|%.2f|%d", str(get("CODE")).substr(0, 2).c_str(), name.c_str(),
               num(get("BALANCE")), truth(__IsDirty(nullptr)) ? 1 : 0);
      out.push_back(line);
    }
    __DB_CloseArea(nullptr);
    return out;
  }
  sync::ApplyResult apply(sync::ApplyCounts& counts) {
    __dbCloseAll();
    std::string why;
    const sync::ApplyResult r = sync::applyDownload("CLIENTS", counts, why);
    why_ = why;
    return r;
  }
  std::string why_;
};

TEST_F(SyncTablesTest, PackingSendsLiveDirtyRecordsOnly) {
  makeClients();
  addClient("A1", "Ana", 10.5);
  addClient("B2", "Bruno", -3.25);
  addClient("C3", "Carla", 0);
  addClient("D4", "Duda", 1);
  SETDIRTY(nullptr, N(3), L(false));  // C3 was received, not changed
  __TBL_GoTo(nullptr, N(4));
  __TBL_Delete(nullptr);
  __Commit(nullptr);
  __dbCloseAll();

  EXPECT_EQ(sync::packTable("CLIENTS"), 2);
  data::DmOpenRef f = static_cast<data::DmOpenRef>(__OpenTmpDb(0, "CLIENTS", 0, 'H'));
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(data::DmNumRecords(f), 1u);
  uint32_t size = 0;
  const uint8_t* p = reinterpret_cast<const uint8_t*>(data::recordBytes(f, 0, &size));
  ASSERT_GE(size, wire::kUploadHeader);
  EXPECT_EQ(p[2], 11);
  EXPECT_EQ(p[3], 12);
  EXPECT_EQ(p[6], 14);
  EXPECT_EQ(wire::get16(p + 4, wire::Order::Big), size);
  EXPECT_EQ(wire::get16(p + 9, wire::Order::Big), 2);
  const size_t plain = wire::get16(p + 7, wire::Order::Big);
  std::vector<uint8_t> rows(plain);
  const wire::Inflated in = wire::inflateLimited(p + 11, size - 11, rows.data(), plain);
  ASSERT_EQ(in.status, wire::InflateStatus::Complete);
  std::vector<std::string> codes;
  for (size_t at = 0; at < in.size;) {
    const size_t length = wire::get16(rows.data() + at, wire::Order::Big);
    ASSERT_EQ(rows[at + 2], 1);
    wire::Row r;
    ASSERT_TRUE(wire::readUploadFields(kFields, rows.data() + at + 3, length - 3, r));
    codes.push_back(r[0].text + "=" + wire::valueText(kFields[2], r[2]) + wire::valueText(kFields[4], r[4]));
    at += length;
  }
  data::DmCloseDatabase(f);
  EXPECT_EQ(codes, (std::vector<std::string>{"A1=10.50T", "B2=-3.25T"}));
}

TEST_F(SyncTablesTest, DirtyRecordsThatAreAllDeletedLeaveNoUploadFile) {
  makeClients();
  addClient("A1", "Ana", 1);
  __TBL_Delete(nullptr);
  __Commit(nullptr);
  __dbCloseAll();
  EXPECT_EQ(sync::packTable("CLIENTS"), 0);
  EXPECT_EQ(data::DmFindDatabase(0, data::tmpDbName("CLIENTS", 'H').c_str()), 0u);
}

TEST_F(SyncTablesTest, PartialDownloadInsertsUpdatesAndDeletesByTheFirstIndex) {
  makeClients();
  addClient("A1", "Ana", 1);
  addClient("B2", "Bruno", 2);
  addClient("C3", "Carla", 3);
  std::vector<uint8_t> first, second;
  addRecord(first, 2, row("B2", "Bruno changed", 20));
  addRecord(first, 1, row("E5", "Eva", 5));
  addRow(second, 3, key("A1"));
  addRecord(second, 1, row("C3", "Carla again", 30));  // an insert of a key held updates it
  writeDownload('P', true, {packet(first, 2), packet(second, 2)});
  sync::ApplyCounts counts;
  ASSERT_EQ(apply(counts), sync::ApplyResult::Applied) << why_;
  EXPECT_EQ(counts.inserted, 1);
  EXPECT_EQ(counts.updated, 2);
  EXPECT_EQ(counts.deleted, 1);
  EXPECT_EQ(rows(), (std::vector<std::string>{"B2|Bruno changed|20.00|0", "C3|Carla again|30.00|0", "E5|Eva|5.00|0"}));
  EXPECT_FALSE(downloadFileExists());
  // The index still finds every key after the pack.
  use("CLIENTS", "CHK");
  __UseIndex(nullptr, S("CLI_CODE"));
  EXPECT_TRUE(truth(__Seek(nullptr, S("E5"))));
  EXPECT_FALSE(truth(__Seek(nullptr, S("A1"))));
}

TEST_F(SyncTablesTest, TotalDownloadReplacesTheRecords) {
  makeClients();
  addClient("A1", "Ana", 1);
  SETDIRTY(nullptr, N(1), L(false));
  std::vector<uint8_t> rowsIn;
  addRecord(rowsIn, 1, row("X1", "Xavier", 1));
  addRecord(rowsIn, 1, row("Y2", "Yara", 2));
  writeDownload('T', true, {packet(rowsIn, 2)});
  sync::ApplyCounts counts;
  ASSERT_EQ(apply(counts), sync::ApplyResult::Applied) << why_;
  EXPECT_EQ(counts.inserted, 2);
  EXPECT_EQ(rows(), (std::vector<std::string>{"X1|Xavier|1.00|0", "Y2|Yara|2.00|0"}));
}

TEST_F(SyncTablesTest, TotalDownloadsIndexLikeRecordByRecordWritesWhateverFormTheRecordsCome) {
  // Stored form goes in as it came; a logical of 2 (or a text with
  // trailing blanks) goes through the buffer. Either way the table holds the
  // records in their order and its first index finds each: the partial
  // update below meets its record.
  for (const uint8_t active : {1, 2}) {
    makeClients();
    std::vector<uint8_t> rowsIn, x1;
    addRecord(rowsIn, 1, row("Y2", "Yara", 2));
    wire::appendStoredRecord(kFields, row("X1", "Xavier", 1), x1);
    x1.back() = active;
    addRow(rowsIn, 1, x1);
    addRecord(rowsIn, 1, row("Z3", "Zeca", 3));
    writeDownload('T', true, {packet(rowsIn, 3)});
    sync::ApplyCounts counts;
    ASSERT_EQ(apply(counts), sync::ApplyResult::Applied) << why_;
    EXPECT_EQ(counts.inserted, 3);
    std::vector<uint8_t> update;
    addRecord(update, 2, row("X1", "Xavier", 10));
    writeDownload('P', true, {packet(update, 1)});
    counts = sync::ApplyCounts();
    ASSERT_EQ(apply(counts), sync::ApplyResult::Applied) << why_;
    EXPECT_EQ(counts.updated, 1) << int{active};
    EXPECT_EQ(counts.inserted, 0) << int{active};
    EXPECT_EQ(rows(), (std::vector<std::string>{"Y2|Yara|2.00|0", "X1|Xavier|10.00|0", "Z3|Zeca|3.00|0"}))
        << int{active};
    __dbCloseAll();
    data::deleteTable("CLIENTS");
  }
}

// The index a total download builds from its own rows is the one the table
// gives: keys out of order and repeated, equal keys in record order.
TEST_F(SyncTablesTest, TotalDownloadIndexIsTheTablesOwn) {
  makeClients();
  std::vector<uint8_t> rowsIn;
  const char* codes[] = {"M5", "B2", "M5", "A9", "Z1", "B2", "C3"};
  for (int i = 0; i < 7; ++i) addRecord(rowsIn, 1, row(codes[i], "n", i));
  writeDownload('T', true, {packet(rowsIn, 7)});
  sync::ApplyCounts counts;
  ASSERT_EQ(apply(counts), sync::ApplyResult::Applied) << why_;
  EXPECT_EQ(counts.inserted, 7);
  const auto entries = [] {
    data::DmOpenRef db = data::DmOpenDatabase(0, data::DmFindDatabase(0, "CLI_CODE"), data::dmModeReadWrite);
    std::vector<std::string> out;
    for (uint32_t i = 0; i < data::tree::count(db); ++i) out.emplace_back(data::tree::entryAt(db, i), 10);
    data::DmCloseDatabase(db);
    return out;
  };
  const std::vector<std::string> built = entries();
  ASSERT_EQ(built.size(), 7u);
  EXPECT_EQ(built.front().substr(4, 2), "A9");
  use("CLIENTS");
  __Reindex(nullptr);
  __dbCloseAll();
  EXPECT_EQ(entries(), built);
}

TEST_F(SyncTablesTest, RowsInflatedOnArrivalServeTheApplyOnlyForTheirOwnPacket) {
  makeClients();
  std::vector<uint8_t> first, second;
  addRecord(first, 1, row("A1", "Ana", 1));
  addRecord(second, 1, row("B2", "Bia", 2));
  const std::vector<uint8_t> a = packet(first, 1), b = packet(second, 1);
  // Kept for the packet the file holds: used as it stands.
  writeDownload('T', true, {a});
  sync::keepInflated("CLIENTS", 1, a.data(), a.size(), second.data(), second.size());
  sync::ApplyCounts counts;
  ASSERT_EQ(apply(counts), sync::ApplyResult::Applied) << why_;
  EXPECT_EQ(rows(), std::vector<std::string>{"B2|Bia|2.00|0"});
  // Kept for another packet than the file's (the file was written again
  // meanwhile): the file's own packet is inflated.
  writeDownload('T', true, {a});
  sync::keepInflated("CLIENTS", 1, b.data(), b.size(), second.data(), second.size());
  ASSERT_EQ(apply(counts), sync::ApplyResult::Applied) << why_;
  EXPECT_EQ(rows(), std::vector<std::string>{"A1|Ana|1.00|0"});
  EXPECT_TRUE(sync::state().inflated.empty());
}

std::vector<int>& barSeen() {
  static std::vector<int> seen;
  return seen;
}

TEST_F(SyncTablesTest, TheTableBarMovesRecordByRecordWhilePackingAndApplying) {
  sync::state().ui.tableProgress = [](int percent) { barSeen().push_back(percent); };
  // Every step is a change of percentage, rising to 100: more than one
  // step per packet, and no repeated calls.
  auto rising = [](const std::vector<int>& v) {
    for (size_t i = 1; i < v.size(); ++i)
      if (v[i] <= v[i - 1]) return false;
    return !v.empty() && v.back() == 100;
  };
  makeClients();
  for (int i = 0; i < 40; ++i) addClient(("P" + std::to_string(i)).c_str(), "Packed", i);
  __dbCloseAll();
  barSeen().clear();
  EXPECT_EQ(sync::packTable("CLIENTS"), 40);
  EXPECT_EQ(barSeen().size(), 40u);
  EXPECT_TRUE(rising(barSeen()));
  ASSERT_TRUE(sync::clearDirty("CLIENTS"));

  std::vector<uint8_t> first, second;
  for (int i = 0; i < 150; ++i) addRecord(i < 75 ? first : second, 1, row(("T" + std::to_string(i)).c_str(), "Row", i));
  writeDownload('T', true, {packet(first, 75), packet(second, 75)});
  barSeen().clear();
  sync::ApplyCounts counts;
  ASSERT_EQ(apply(counts), sync::ApplyResult::Applied) << why_;
  EXPECT_EQ(counts.inserted, 150);
  EXPECT_EQ(barSeen().size(), 101u);  // 0 to 100, every one once
  EXPECT_TRUE(rising(barSeen()));
  sync::state().ui.tableProgress = nullptr;
}

TEST_F(SyncTablesTest, PartialStoredAfterAWaitingTotalKeepsItsUpdatesAndDeletes) {
  makeClients();
  std::vector<uint8_t> total, partial;
  addRecord(total, 1, row("A1", "Ana", 1));
  addRecord(total, 1, row("B2", "Bruno", 2));
  addRecord(partial, 2, row("B2", "Bruno changed", 20));
  addRow(partial, 3, key("A1"));
  addRecord(partial, 1, row("C3", "Carla", 3));
  writeDownload('T', true, {packet(total, 2), packet(partial, 3)});
  sync::ApplyCounts counts;
  ASSERT_EQ(apply(counts), sync::ApplyResult::Applied) << why_;
  EXPECT_EQ(rows(), (std::vector<std::string>{"B2|Bruno changed|20.00|0", "C3|Carla|3.00|0"}));
}

TEST_F(SyncTablesTest, TotalDownloadWaitsWhileRecordsAreDirty) {
  makeClients();
  addClient("A1", "Ana", 1);
  std::vector<uint8_t> rowsIn;
  addRecord(rowsIn, 1, row("X1", "Xavier", 1));
  writeDownload('T', true, {packet(rowsIn, 1)});
  sync::ApplyCounts counts;
  EXPECT_EQ(apply(counts), sync::ApplyResult::Refused);
  EXPECT_EQ(rows(), (std::vector<std::string>{"A1|Ana|1.00|1"}));
  EXPECT_TRUE(downloadFileExists());
}

TEST_F(SyncTablesTest, IncompleteDownloadIsKeptForTheNextSession) {
  makeClients();
  std::vector<uint8_t> rowsIn;
  addRecord(rowsIn, 1, row("X1", "Xavier", 1));
  writeDownload('P', false, {packet(rowsIn, 1)});
  sync::ApplyCounts counts;
  EXPECT_EQ(apply(counts), sync::ApplyResult::Incomplete);
  EXPECT_TRUE(rows().empty());
  EXPECT_TRUE(downloadFileExists());
}

TEST_F(SyncTablesTest, ListedDownloadWithoutItsFileIsMissing) {
  makeClients();
  sync::ApplyCounts counts;
  EXPECT_EQ(apply(counts), sync::ApplyResult::Missing);
  EXPECT_FALSE(downloadFileExists());
}

TEST_F(SyncTablesTest, DamagedDownloadsLeaveTheTableAsItWas) {
  struct Case {
    const char* what;
    std::function<std::vector<uint8_t>()> second;
  };
  const std::vector<Case> cases = {
      {"bad zlib stream",
       [] {
         std::vector<uint8_t> rowsIn;
         addRecord(rowsIn, 1, row("Z9", "Zeca", 9));
         std::vector<uint8_t> p = packet(rowsIn, 1);
         p[12] ^= 0x5a;
         p[p.size() - 1] ^= 0xff;
         return p;
       }},
      {"row longer than its packet",
       [] {
         std::vector<uint8_t> rowsIn;
         addRecord(rowsIn, 1, row("Z9", "Zeca", 9));
         wire::put16(rowsIn.data(), static_cast<uint16_t>(rowsIn.size() + 40), wire::Order::Big);
         return packet(rowsIn, 1);
       }},
      {"fewer rows than it says",
       [] {
         std::vector<uint8_t> rowsIn;
         addRecord(rowsIn, 1, row("Z9", "Zeca", 9));
         return packet(rowsIn, 3);
       }},
      {"a record cut short",
       [] {
         std::vector<uint8_t> rowsIn;
         addRow(rowsIn, 1, {'Z', '9', 0, 'Z'});
         return packet(rowsIn, 1);
       }},
      {"unknown operation",
       [] {
         std::vector<uint8_t> rowsIn;
         addRecord(rowsIn, 7, row("Z9", "Zeca", 9));
         return packet(rowsIn, 1);
       }},
      {"not a download packet", [] { return std::vector<uint8_t>{0, 1, 12, 15, 0, 10, 0, 0, 0, 0}; }},
  };
  makeClients();
  addClient("A1", "Ana", 1);
  SETDIRTY(nullptr, N(1), L(false));
  const std::vector<std::string> before = rows();
  for (const Case& c : cases) {
    for (char kind : {'T', 'P'}) {
      std::vector<uint8_t> good;
      addRecord(good, 1, row("G1", "Good", 1));
      writeDownload(kind, true, {packet(good, 1), c.second()});
      sync::ApplyCounts counts;
      EXPECT_EQ(apply(counts), sync::ApplyResult::Damaged) << c.what << " " << kind;
      EXPECT_FALSE(why_.empty()) << c.what;
      EXPECT_EQ(rows(), before) << c.what << " " << kind;
    }
  }
}

TEST_F(SyncTablesTest, TablesTheCatalogDescribesAreCreated) {
  ASSERT_EQ(OpenCatalogTables(3), 1);
  __Select(S("ZEL_TBL"));
  append({{"TABLEID", N(7)}, {"TBLNAME", S("ITEMS")}, {"TBLTOHOST", S("T")}});
  __Select(S("ZEL_COLS"));
  append({{"TABLEID", N(7)},
          {"FLDPOS", S("  2")},
          {"FLDNAME", S("QTY")},
          {"FLDTYPE", S("N")},
          {"FLDLEN", N(6)},
          {"FLDLENDEC", N(1)}});
  append({{"TABLEID", N(7)},
          {"FLDPOS", S("  1")},
          {"FLDNAME", S("SKU")},
          {"FLDTYPE", S("C")},
          {"FLDLEN", N(8)},
          {"FLDLENDEC", N(0)}});
  __Select(S("ZEL_IND"));
  append({{"TABLEID", N(7)}, {"NOME_IDX", S("ITEMS_SKU")}, {"EXPRE", S("SKU")}, {"PK", S("T")}});
  __dbCloseAll();

  EXPECT_EQ(sync::uploadTables(0), std::vector<std::string>{"ITEMS"});
  EXPECT_EQ(sync::uploadTables('X'), std::vector<std::string>{});
  EXPECT_FALSE(sync::createFromCatalog("OTHER", false));
  ASSERT_TRUE(sync::createFromCatalog("ITEMS", false));
  use("ITEMS");
  EXPECT_EQ(num(__TBL_Fcount(nullptr)), 2);
  EXPECT_EQ(str(__GetFieldName(nullptr, N(1))), "SKU");
  EXPECT_EQ(num(__FieldLen(nullptr, S("QTY"))), 6);
  EXPECT_EQ(num(__FieldDecLen(nullptr, S("QTY"))), 1);
  EXPECT_EQ(str(__IndexKey(nullptr, N(1))), "SKU");
}

}  // namespace
