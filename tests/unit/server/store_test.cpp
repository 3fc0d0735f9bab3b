// The server's store on both databases (SQLite in a temporary file, and a
// throw-away PostgreSQL server when the machine can start one): table
// definitions and loads, the per-device task list, downloads, uploads written
// back, deliveries, the queue, and two connections on one database.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <map>
#include <thread>

#include "framing.h"
#include "postgres_process.h"
#include "store.h"
#include "stored_download.h"
#include "sync_packets.h"
#include "table_def.h"
#include "table_rows.h"
#include "upload_rows.h"

namespace {

using server::Store;
using server::TableDef;
using server::Task;
using wire::Row;

const char* kClients =
    "table CLIENTS Clients\n"
    "upload yes\n"
    "field CODE C 6\n"
    "field NAME C 30\n"
    "field BALANCE N 12 2\n"
    "field SINCE D\n"
    "field ACTIVE L\n"
    "index CLI_CODE CODE\n"
    "index CLI_NAME NAME+CODE\n";

TableDef clients() {
  TableDef def;
  std::string error;
  EXPECT_TRUE(server::parseStructure(kClients, def, error)) << error;
  return def;
}

Row row(const std::string& code, const std::string& name, double balance, long since = 0, bool active = true) {
  Row r(5);
  r[0].text = code;
  r[1].text = name;
  r[2].number = balance;
  r[3].number = static_cast<double>(since);
  r[4].logical = active;
  return r;
}

// One backend per parameter: a fresh database for every test.
class StoreTest : public ::testing::TestWithParam<std::string> {
 protected:
  static void TearDownTestSuite() {
    delete postgres;
    postgres = nullptr;
  }
  void SetUp() override {
    std::string error;
    if (GetParam() == "postgres") {
      if (!postgres) {
        postgres = new PostgresProcess;
        if (!postgres->start(whyNoPostgres)) whyNoPostgres = "PostgreSQL could not be started: " + whyNoPostgres;
      }
      if (!whyNoPostgres.empty()) GTEST_SKIP() << whyNoPostgres;
      address = postgres->newDatabase("t" + std::to_string(++databases));
      store = Store::open(address, true, error);
    } else {
      char pattern[] = "/tmp/zelta-store-XXXXXX";
      dir = mkdtemp(pattern);
      address = dir + "/sync.db";
      store = Store::open(address, false, error);
    }
    ASSERT_TRUE(store) << error;
    ASSERT_TRUE(store->addDevice("joe", "dev1", error)) << error;
    ASSERT_TRUE(store->addDevice("ann", "dev2", error)) << error;
  }
  void TearDown() override {
    store.reset();
    if (!dir.empty()) {
      std::string command = "rm -rf '" + dir + "'";
      EXPECT_EQ(system(command.c_str()), 0);
    }
  }
  std::unique_ptr<Store> second() {
    std::string error;
    auto s = Store::open(address, GetParam() == "postgres", error);
    EXPECT_TRUE(s) << error;
    return s;
  }
  TableDef defineClients() {
    TableDef def = clients();
    bool changed = false;
    std::string error;
    EXPECT_TRUE(store->defineTable(def, changed, error)) << error;
    return def;
  }
  void load(const TableDef& def, const std::vector<Row>& rows, Store* s = nullptr) {
    server::LoadCounts c;
    std::string error;
    ASSERT_TRUE((s ? s : store.get())->loadRows(def, rows, c, error)) << error;
  }
  std::vector<Task> tasks(const std::string& user = "joe", const std::string& device = "dev1") {
    std::vector<Task> t;
    std::string error;
    EXPECT_TRUE(store->buildTasks(user, device, t, error)) << error;
    return t;
  }
  // Delivers every download of the list, as a session with a goodbye does.
  void deliverAll(const std::string& user = "joe", const std::string& device = "dev1") {
    std::vector<server::Delivery> done;
    std::string error;
    for (const Task& t : tasks(user, device)) {
      if (t.type == server::kTaskDelete) done.push_back({t.table, -1, 0, t.queueId});
      if (t.type != server::kTaskDownload) continue;
      server::Download d;
      ASSERT_TRUE(store->download(user, device, t, d, error)) << error;
      done.push_back(d.delivery);
    }
    ASSERT_TRUE(store->markDelivered(user, device, done, error)) << error;
  }
  std::string describe(const std::vector<Task>& list) {
    std::string out;
    for (const Task& t : list) {
      out += std::to_string(t.type) + ":" + t.table;
      if (t.type == server::kTaskDownload) out += ":" + std::string(1, t.mode) + std::to_string(t.count);
      out += " ";
    }
    return out;
  }

  static PostgresProcess* postgres;
  static std::string whyNoPostgres;
  static int databases;
  std::string dir, address;
  std::unique_ptr<Store> store;
};

PostgresProcess* StoreTest::postgres = nullptr;
std::string StoreTest::whyNoPostgres;
int StoreTest::databases = 0;

TEST_P(StoreTest, DefiningATableTwiceChangesNothingTheSecondTime) {
  TableDef def = clients();
  bool changed = false;
  std::string error;
  ASSERT_TRUE(store->defineTable(def, changed, error)) << error;
  EXPECT_TRUE(changed);
  EXPECT_EQ(def.id, 1);
  TableDef again = clients();
  ASSERT_TRUE(store->defineTable(again, changed, error)) << error;
  EXPECT_FALSE(changed);
  EXPECT_EQ(again.id, 1);
  std::vector<TableDef> all;
  ASSERT_TRUE(store->tables(all, error));
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].structureText(), def.structureText());
}

TEST_P(StoreTest, LoadInsertsUpdatesDeletesAndKeepsTheRest) {
  const TableDef def = defineClients();
  server::LoadCounts c;
  std::string error;
  ASSERT_TRUE(
      store->loadRows(def, {row("A1", "Ana", 10.5, 46000), row("B2", "Bruno", -3), row("C3", "Caio", 0)}, c, error));
  EXPECT_EQ(c.inserted, 3);
  ASSERT_TRUE(
      store->loadRows(def, {row("A1", "Ana", 10.5, 46000), row("B2", "Bruno", 7), row("D4", "Duda", 1)}, c, error));
  EXPECT_EQ(c.unchanged, 1);
  EXPECT_EQ(c.updated, 1);
  EXPECT_EQ(c.inserted, 1);
  EXPECT_EQ(c.deleted, 1);
  std::vector<Row> rows;
  ASSERT_TRUE(store->exportRows(def, rows, error));
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0][0].text, "A1");
  EXPECT_EQ(rows[0][3].number, 46000);
  EXPECT_EQ(rows[1][2].number, 7);
  EXPECT_EQ(rows[2][1].text, "Duda");
}

TEST_P(StoreTest, ANewDeviceGetsTheCatalogAndTheTableInFull) {
  const TableDef def = defineClients();
  load(def, {row("A1", "Ana", 1), row("B2", "Bruno", 2)});
  EXPECT_EQ(describe(tasks()), "2:CLIENTS 1:ZEL_TBL:T1 1:ZEL_COLS:T5 1:ZEL_IND:T2 1:CLIENTS:T2 ");
  deliverAll();
  EXPECT_EQ(describe(tasks()), "2:CLIENTS ");  // nothing new: only the upload request
  EXPECT_EQ(describe(tasks("ann", "dev2")), "2:CLIENTS 1:ZEL_TBL:T1 1:ZEL_COLS:T5 1:ZEL_IND:T2 1:CLIENTS:T2 ");
}

TEST_P(StoreTest, ChangesAfterADeliveryGoAsAPartialDownload) {
  const TableDef def = defineClients();
  load(def, {row("A1", "Ana", 1), row("B2", "Bruno", 2), row("C3", "Caio", 3)});
  deliverAll();
  load(def, {row("A1", "Ana", 1), row("B2", "Bruno", 20), row("E5", "Eva", 5)});  // C3 deleted
  const std::vector<Task> list = tasks();
  EXPECT_EQ(describe(list), "2:CLIENTS 1:CLIENTS:P3 ");
  server::Download d;
  std::string error;
  ASSERT_TRUE(store->download("joe", "dev1", list[1], d, error)) << error;
  std::map<std::string, int> operations;  // key text: operation
  for (const std::vector<uint8_t>& r : d.rows) {
    ASSERT_EQ(wire::get16(r.data(), wire::Order::Big), r.size());
    if (r[2] == 3) {
      operations[std::string(r.begin() + 3, r.end())] = 3;
      continue;
    }
    Row got;
    ASSERT_TRUE(wire::readStoredRecord(def.fields, r.data() + 3, r.size() - 3, got));
    operations[got[0].text] = r[2];
  }
  EXPECT_EQ(operations.size(), 3u);
  EXPECT_EQ(operations["B2"], 2);
  EXPECT_EQ(operations["E5"], 2);
  EXPECT_EQ(operations["C3    "], 3);  // the first index's key, blank-filled
}

TEST_P(StoreTest, TotalDownloadCarriesStoredRecords) {
  const TableDef def = defineClients();
  const std::vector<Row> rows = {row("A1", "Ana Maria", 1234.56, wire::dayNumber(2026, 12, 9), false)};
  load(def, rows);
  std::string error;
  server::Download d;
  Task t{server::kTaskDownload, "CLIENTS", 'T'};
  ASSERT_TRUE(store->download("joe", "dev1", t, d, error)) << error;
  ASSERT_EQ(d.rows.size(), 1u);
  EXPECT_EQ(d.rows[0][2], 1);
  Row got;
  ASSERT_TRUE(wire::readStoredRecord(def.fields, d.rows[0].data() + 3, d.rows[0].size() - 3, got));
  EXPECT_EQ(got[1].text, "Ana Maria");
  EXPECT_EQ(got[2].number, 1234.56);
  EXPECT_EQ(wire::dateDigits(static_cast<long>(got[3].number)), "20261209");
  EXPECT_FALSE(got[4].logical);
  EXPECT_GT(d.delivery.version, 0);
}

std::vector<uint8_t> uploadPacket(const TableDef& def, const std::vector<Row>& rows) {
  std::vector<uint8_t> data, packet(wire::kBufferSize);
  for (const Row& r : rows) wire::appendUploadRow(def.fields, r, data);
  const wire::Deflated d = wire::buildUploadPacket(data.data(), data.size(), static_cast<uint16_t>(rows.size()),
                                                   packet.data(), packet.size(), wire::Order::Big);
  EXPECT_EQ(d.status, wire::DeflateStatus::Ok);
  packet.resize(d.size);
  return packet;
}

TEST_P(StoreTest, UploadsAreWrittenBackAndNotEchoedToTheirDevice) {
  const TableDef def = defineClients();
  load(def, {row("A1", "Ana", 1), row("B2", "Bruno", 2)});
  deliverAll();
  deliverAll("ann", "dev2");
  std::string error;
  const std::vector<uint8_t> p1 = uploadPacket(def, {row("A1", "Ana changed", 11)});
  const std::vector<uint8_t> p2 = uploadPacket(def, {row("Z9", "Zeca", 99, wire::dayNumber(2027, 1, 31))});
  ASSERT_TRUE(store->stageUpload("joe", "dev1", "CLIENTS", p1.data(), p1.size(), wire::Order::Big, error)) << error;
  ASSERT_TRUE(store->stageUpload("joe", "dev1", "CLIENTS", p2.data(), p2.size(), wire::Order::Big, error)) << error;
  server::UploadCounts counts;
  ASSERT_TRUE(store->applyStaged("joe", "dev1", counts, error)) << error;
  EXPECT_EQ(counts.rows, 2);
  EXPECT_EQ(counts.tables, 1);
  std::vector<Row> rows;
  ASSERT_TRUE(store->exportRows(def, rows, error));
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0][1].text, "Ana changed");
  EXPECT_EQ(rows[2][0].text, "Z9");
  // The other device receives both rows; the one that sent them, neither.
  EXPECT_EQ(describe(tasks("ann", "dev2")), "2:CLIENTS 1:CLIENTS:P2 ");
  EXPECT_EQ(describe(tasks()), "2:CLIENTS 1:CLIENTS:P0 ");
  // Staged packets are written once.
  ASSERT_TRUE(store->applyStaged("joe", "dev1", counts, error));
  EXPECT_EQ(counts.rows, 0);
}

TEST_P(StoreTest, QueuedDownloadAndDelete) {
  const TableDef def = defineClients();
  load(def, {row("A1", "Ana", 1)});
  deliverAll();
  deliverAll("ann", "dev2");
  long added = 0;
  std::string error;
  ASSERT_TRUE(store->queueTask("download", "CLIENTS", "joe", "dev1", added, error)) << error;
  EXPECT_EQ(added, 1);
  EXPECT_EQ(describe(tasks()), "2:CLIENTS 1:CLIENTS:T1 ");
  EXPECT_EQ(describe(tasks("ann", "dev2")), "2:CLIENTS ");
  deliverAll();
  EXPECT_EQ(describe(tasks()), "2:CLIENTS ");
  ASSERT_TRUE(store->queueTask("delete", "CLIENTS", "", "", added, error)) << error;
  EXPECT_EQ(added, 2);
  EXPECT_EQ(describe(tasks()), "2:CLIENTS 3:CLIENTS 1:CLIENTS:T1 ");
  deliverAll();
  EXPECT_EQ(describe(tasks()), "2:CLIENTS ");
}

// Pushed files keep every byte, go after the table tasks, and leave the
// queue only with a delivery (on either database).
TEST_P(StoreTest, PushedFilesComeLastWithTheirBytesAndLeaveWhenDelivered) {
  const TableDef def = defineClients();
  load(def, {row("A1", "Ana", 1)});
  deliverAll();
  deliverAll("ann", "dev2");
  std::string bytes;
  for (int i = 0; i < 3000; ++i) bytes += static_cast<char>(i * 7);  // zero bytes, high bytes
  server::PushedFile program{0, "install", "upd.exe", "2", bytes},
      image{0, "image", "logo.jpg", "0", std::string("\xff\0\x01", 3)};
  long added = 0;
  std::string error;
  ASSERT_TRUE(store->pushFile(program, "joe", "dev1", added, error)) << error;
  EXPECT_EQ(added, 1);
  ASSERT_TRUE(store->pushFile(image, "", "", added, error)) << error;
  EXPECT_EQ(added, 2);
  std::vector<Task> list = tasks();
  EXPECT_EQ(describe(list), "2:CLIENTS 10: 40: ");
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[1].fileId, program.id);
  server::PushedFile got;
  bool found = false;
  ASSERT_TRUE(store->pushedFile(program.id, got, found, error)) << error;
  ASSERT_TRUE(found);
  EXPECT_EQ(got.name, "upd.exe");
  EXPECT_EQ(got.version, "2");
  EXPECT_EQ(got.content, bytes);
  ASSERT_TRUE(store->pushedFile(image.id, got, found, error)) << error;
  EXPECT_EQ(got.content, std::string("\xff\0\x01", 3));
  EXPECT_EQ(describe(tasks("ann", "dev2")), "2:CLIENTS 40: ");
  ASSERT_TRUE(store->markDelivered("joe", "dev1", {{"", 0, 0, list[1].queueId, true}}, error)) << error;
  EXPECT_EQ(describe(tasks()), "2:CLIENTS 40: ");
}

TEST_P(StoreTest, ANewStructureSendsTheTableInFullAgain) {
  TableDef def = defineClients();
  load(def, {row("A1", "Ana", 1, 0, true), row("B2", "Bruno", 2)});
  deliverAll();
  TableDef wider;
  std::string error;
  ASSERT_TRUE(server::parseStructure(std::string(kClients) + "field CITY C 20\n", wider, error)) << error;
  bool changed = false;
  ASSERT_TRUE(store->defineTable(wider, changed, error)) << error;
  EXPECT_TRUE(changed);
  EXPECT_EQ(describe(tasks()), "2:CLIENTS 1:ZEL_TBL:T1 1:ZEL_COLS:T6 1:ZEL_IND:T2 1:CLIENTS:T2 ");
  std::vector<Row> rows;
  ASSERT_TRUE(store->exportRows(wider, rows, error));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][1].text, "Ana");  // kept by field name
  EXPECT_EQ(rows[0][5].text, "");
}

TEST_P(StoreTest, TwoConnectionsOnOneDatabaseSeeEachOthersWork) {
  const TableDef def = defineClients();
  std::unique_ptr<Store> other = second();
  ASSERT_TRUE(other);
  // Two writers at once, each its own rows: every row lands, versions grow.
  std::atomic<int> failures{0};
  auto writer = [&](Store* s, const std::string& device, char prefix) {
    for (int i = 0; i < 20; ++i) {
      const std::vector<uint8_t> p = uploadPacket(def, {row(std::string(1, prefix) + std::to_string(i), device, i)});
      std::string error;
      server::UploadCounts counts;
      if (!s->stageUpload("joe", device, "CLIENTS", p.data(), p.size(), wire::Order::Big, error) ||
          !s->applyStaged("joe", device, counts, error))
        ++failures;
    }
  };
  std::string error;
  ASSERT_TRUE(store->addDevice("joe", "dev3", error));
  std::thread a(writer, store.get(), "dev1", 'A');
  std::thread b(writer, other.get(), "dev3", 'B');
  a.join();
  b.join();
  EXPECT_EQ(failures.load(), 0);
  std::vector<Row> rows;
  ASSERT_TRUE(other->exportRows(def, rows, error));
  EXPECT_EQ(rows.size(), 40u);
  EXPECT_EQ(describe(tasks("ann", "dev2")), "2:CLIENTS 1:ZEL_TBL:T1 1:ZEL_COLS:T5 1:ZEL_IND:T2 1:CLIENTS:T40 ");
}

TEST_P(StoreTest, RemovingAUserForgetsWhatItsDevicesHeld) {
  const TableDef def = defineClients();
  load(def, {row("A1", "Ana", 1)});
  deliverAll();
  std::string error;
  EXPECT_EQ(store->removeDevices("joe", "", error), 1);
  ASSERT_TRUE(store->addDevice("joe", "dev1", error));
  EXPECT_EQ(describe(tasks()), "2:CLIENTS 1:ZEL_TBL:T1 1:ZEL_COLS:T5 1:ZEL_IND:T2 1:CLIENTS:T1 ");
}

TEST_P(StoreTest, KeptTotalDownloadsFollowTheTablesVersion) {
  const TableDef def = defineClients();
  std::vector<Row> rows;
  // Names that compress badly, so the frames fill more than one part.
  for (int i = 0; i < 8000; ++i)
    rows.push_back(row("C" + std::to_string(i), std::to_string(i * 2654435761u) + std::to_string(i * 40503u), i));
  load(def, rows);
  std::vector<std::string> stale;
  std::string error;
  ASSERT_TRUE(store->downloadsToBuild(wire::Order::Big, stale, error)) << error;
  EXPECT_EQ(stale, std::vector<std::string>{"CLIENTS"});
  server::Frames built;
  server::Delivery at;
  ASSERT_TRUE(server::buildTotalDownload(*store, "CLIENTS", wire::Order::Big, built, at, error)) << error;
  std::vector<server::SqlRow> parts;
  ASSERT_TRUE(store->sql().exec("SELECT COUNT(*) FROM zs_downloads", {}, &parts, error)) << error;
  EXPECT_GT(parts[0][0].asInt(), 1);
  EXPECT_EQ(tasks("ann", "dev2").back().count, 8000);
  ASSERT_TRUE(store->downloadsToBuild(wire::Order::Big, stale, error));
  EXPECT_TRUE(stale.empty());
  // Another connection reads the same frames back, under that key only.
  std::unique_ptr<Store> other = second();
  ASSERT_TRUE(other);
  server::Frames kept;
  bool found = false;
  ASSERT_TRUE(other->storedDownload("CLIENTS", at.generation, at.version, wire::Order::Big, kept, found, error));
  EXPECT_TRUE(found);
  EXPECT_EQ(kept, built);
  ASSERT_TRUE(other->storedDownload("CLIENTS", at.generation, at.version, wire::Order::Little, kept, found, error));
  EXPECT_FALSE(found);
  // A change makes a new version: nothing is kept for it, and frames built
  // from the old one are not kept any more.
  load(def, {row("NEW", "New", 1)}, other.get());
  long generation = 0, version = 0;
  ASSERT_TRUE(store->tableVersion("CLIENTS", generation, version, found, error));
  EXPECT_GT(version, at.version);
  EXPECT_EQ(tasks("ann", "dev2").back().count, 1);  // not what was kept before
  ASSERT_TRUE(store->storedDownload("CLIENTS", generation, version, wire::Order::Big, kept, found, error));
  EXPECT_FALSE(found);
  bool taken = true;
  ASSERT_TRUE(store->keepDownload(at, wire::Order::Big, built, taken, error)) << error;
  EXPECT_FALSE(taken);
  ASSERT_TRUE(store->downloadsToBuild(wire::Order::Big, stale, error));
  EXPECT_EQ(stale, std::vector<std::string>{"CLIENTS"});
  ASSERT_TRUE(server::buildStaleDownloads(*other, wire::Order::Big, nullptr, error)) << error;
  ASSERT_TRUE(store->storedDownload("CLIENTS", generation, version, wire::Order::Big, kept, found, error));
  EXPECT_TRUE(found);
  EXPECT_EQ(kept.size(), 2u);  // one packet and the end
}

INSTANTIATE_TEST_SUITE_P(Backends, StoreTest, ::testing::Values("sqlite", "postgres"));

TEST(UploadPacket, DamagedPacketsAreRefused) {
  const TableDef def = clients();
  std::vector<uint8_t> good = uploadPacket(def, {row("A1", "Ana", 1), row("B2", "Bruno", 2)});
  std::vector<Row> rows;
  std::string why;
  ASSERT_TRUE(server::readUploadPacket(def, good.data(), good.size(), wire::Order::Big, rows, why)) << why;
  EXPECT_EQ(rows.size(), 2u);

  std::vector<uint8_t> damaged = good;
  damaged[damaged.size() / 2 + 6] ^= 0x5A;
  std::vector<uint8_t> cut(good.begin(), good.end() - 4);
  std::vector<uint8_t> miscounted = good;
  miscounted[10] = 3;
  std::vector<uint8_t> badDate = uploadPacket(def, {row("A1", "Ana", 1)});
  {
    std::vector<uint8_t> data;
    wire::appendUploadRow(def.fields, row("A1", "Ana", 1), data);
    const std::string wrong = "20261340";  // month 13
    std::vector<uint8_t> body;
    body.insert(body.end(), {0, 0, 1});
    for (const char* t : {"A1", "Ana", "1.00"}) body.insert(body.end(), t, t + strlen(t) + 1);
    body.insert(body.end(), wrong.begin(), wrong.end());
    body.push_back(0);
    body.insert(body.end(), {'T', 0});
    wire::put16(body.data(), static_cast<uint16_t>(body.size()), wire::Order::Big);
    std::vector<uint8_t> packet(wire::kBufferSize);
    const wire::Deflated d =
        wire::buildUploadPacket(body.data(), body.size(), 1, packet.data(), packet.size(), wire::Order::Big);
    packet.resize(d.size);
    badDate = packet;
  }
  std::vector<uint8_t> longRow;
  {
    std::vector<uint8_t> body = {0, 200, 1, 'A', 0};  // says 200 bytes, has 5
    std::vector<uint8_t> packet(wire::kBufferSize);
    const wire::Deflated d =
        wire::buildUploadPacket(body.data(), body.size(), 1, packet.data(), packet.size(), wire::Order::Big);
    packet.resize(d.size);
    longRow = packet;
  }
  const struct {
    const char* name;
    const std::vector<uint8_t>& packet;
  } cases[] = {{"damaged stream", damaged},
               {"cut short", cut},
               {"wrong row count", miscounted},
               {"a bad date", badDate},
               {"a row longer than its packet", longRow}};
  for (const auto& c : cases) {
    EXPECT_FALSE(server::readUploadPacket(def, c.packet.data(), c.packet.size(), wire::Order::Big, rows, why))
        << c.name;
    EXPECT_FALSE(why.empty()) << c.name;
  }
}

}  // namespace
