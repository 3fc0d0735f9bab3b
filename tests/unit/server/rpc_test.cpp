// RPC on the server: what device statements may do to the tables (and what
// they may not), on SQLite and on a throw-away PostgreSQL server, writes the
// sync then carries, the shape of result sets,
// server functions run without a shell with their time-out, images kept
// under plain names, and the administrator's operations.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "framing.h"
#include "postgres_process.h"
#include "protocol.h"
#include "rpc.h"
#include "rpc_functions.h"
#include "rpc_packets.h"
#include "rpc_query.h"
#include "store.h"
#include "table_def.h"

namespace {

using server::QueryResult;
using server::Store;
using server::TableDef;

const char* kClients =
    "table CLIENTS Clients\nupload yes\nfield CODE C 6\nfield NAME C 30\nfield BALANCE N 12 2\n"
    "field SINCE D\nfield ACTIVE L\nindex CLI_CODE CODE\n";

class RpcTest : public ::testing::Test {
 protected:
  virtual bool postgres() const { return false; }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }
  void SetUp() override {
    char dir[] = "/tmp/zelta_rpc_XXXXXX";
    ASSERT_TRUE(mkdtemp(dir));
    folder_ = dir;
    path_ = folder_ + "/sync.db";
    if (postgres()) {
      if (!server_) {
        server_ = new PostgresProcess;
        if (!server_->start(whyNoServer_)) whyNoServer_ = "PostgreSQL could not be started: " + whyNoServer_;
      }
      if (!whyNoServer_.empty()) GTEST_SKIP() << whyNoServer_;
      path_ = server_->newDatabase("rpc" + std::to_string(++databases_));
    }
    std::string error;
    store_ = Store::open(path_, postgres(), error);
    ASSERT_TRUE(store_) << error;
    ASSERT_TRUE(server::parseStructure(kClients, def_, error)) << error;
    bool changed = false;
    ASSERT_TRUE(store_->defineTable(def_, changed, error)) << error;
    std::vector<wire::Row> rows(2, wire::Row(5));
    rows[0][0].text = "A1";
    rows[0][1].text = "Ana";
    rows[0][2].number = 10.5;
    rows[0][3].number = 45000;
    rows[0][4].logical = true;
    rows[1][0].text = "B2";
    rows[1][1].text = "Bruno";
    server::LoadCounts counts;
    ASSERT_TRUE(store_->loadRows(def_, rows, counts, error)) << error;
    queries_ = postgres() ? server::QueryDatabase::openPostgres(path_, "zelta_device", error)
                          : server::QueryDatabase::open(path_, error);
    ASSERT_TRUE(queries_) << error;
  }
  void TearDown() override {
    queries_.reset();
    store_.reset();
    std::filesystem::remove_all(folder_);
  }

  QueryResult run(const std::string& sql, bool select) {
    std::vector<TableDef> tables;
    std::string error;
    EXPECT_TRUE(store_->tables(tables, error)) << error;
    return queries_->run(sql, select, tables, "rpc:joe/dev1");
  }

  std::vector<wire::Row> stored() {
    std::vector<wire::Row> rows;
    std::string error;
    EXPECT_TRUE(store_->exportRows(def_, rows, error)) << error;
    return rows;
  }

  std::string folder_, path_;
  std::unique_ptr<Store> store_;
  std::unique_ptr<server::QueryDatabase> queries_;
  TableDef def_;
  static PostgresProcess* server_;
  static std::string whyNoServer_;
  static int databases_;
};
PostgresProcess* RpcTest::server_ = nullptr;
std::string RpcTest::whyNoServer_;
int RpcTest::databases_ = 0;

// The statements themselves, on either database.
class RpcQueryTest : public RpcTest, public ::testing::WithParamInterface<std::string> {
 protected:
  bool postgres() const override { return GetParam() == "postgres"; }
  static void TearDownTestSuite() { RpcTest::TearDownTestSuite(); }
};

TEST_P(RpcQueryTest, StatementsADeviceMayNotRunAreRefusedAndChangeNothing) {
  const struct {
    const char* sql;
    bool select;
  } refused[] = {
      {"delete from clients", false},
      {"drop table zt_CLIENTS", false},
      {"pragma writable_schema = 1", false},
      {"select * from pragma_table_info('zt_CLIENTS')", true},
      {"select * from zs_devices", true},
      {"select * from zt_CLIENTS", true},
      {"select * from main.zt_CLIENTS", true},
      {"select name from sqlite_master", true},
      {"select * from clients; drop table zt_CLIENTS", true},
      {"update clients set name = 'x'; delete from clients", false},
      {"attach database '/tmp/x.db' as x", false},
      {"create table t (a)", false},
      {"insert into zs_devices (user_name, device, added) values ('eve', 'd', '')", false},
      {"update clients set name = (select device from zs_devices limit 1)", false},
      {"update zs_tables set version = 0", false},
      {"select load_extension('x')", true},
      {"select * from clients", false},         // a select sent as a write
      {"update clients set name = 'x'", true},  // and the other way round
      {"begin", false},
      // What a PostgreSQL client could try besides.
      {"select * from public.\"zt_CLIENTS\"", true},
      {"select * from zs_rpc_journal", true},
      {"select nextval('zs_rpc_journal_seq')", true},
      {"select set_config('role', 'none', false), (select count(*) from zs_devices)", true},
      {"select query_to_xml('select * from zs_devices', true, true, '')", true},
      {"select pg_read_file('/etc/passwd')", true},
      {"select * into stolen from clients", true},
      {"with gone as (delete from clients returning *) select * from gone", true},
      {"insert into clients (code) values ('X1') returning (select count(*) from zs_devices)", false},
      {"update clients set name = 'x' where code = (select device from zs_devices limit 1)", false},
      {"update clients set name = 'x' where code in (select name from pragma_table_info('zs_devices'))", false},
      {"copy clients to '/tmp/clients.txt'", false},
      {"/* insert */ delete from clients", false},
      {"set role none", false},
  };
  for (const auto& c : refused) {
    const QueryResult q = run(c.sql, c.select);
    EXPECT_FALSE(q.ok) << c.sql;
    EXPECT_FALSE(q.error.empty()) << c.sql;
  }
  const std::vector<wire::Row> rows = stored();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][1].text, "Ana");
  EXPECT_EQ(rows[1][1].text, "Bruno");
}

TEST_P(RpcQueryTest, WritesKeepKeysAndVersionsSoDevicesReceiveThem) {
  std::string error;
  long generation = 0, before = 0, after = 0;
  bool found = false;
  ASSERT_TRUE(store_->tableVersion("CLIENTS", generation, before, found, error));
  QueryResult q =
      run("insert into clients (code, name, balance, active) values ('C3', 'a name far longer than thirty characters', "
          "2.5, 1)",
          false);
  ASSERT_TRUE(q.ok) << q.error;
  EXPECT_EQ(q.changed, 1);
  q = run("insert into clients (code, name) values ('A1', 'again')", false);
  EXPECT_FALSE(q.ok);  // a live key
  q = run("update clients set code = 'Z9', balance = balance * 2 where code = 'A1'", false);
  ASSERT_TRUE(q.ok) << q.error;
  ASSERT_TRUE(store_->tableVersion("CLIENTS", generation, after, found, error));
  EXPECT_GT(after, before);

  const std::vector<wire::Row> rows = stored();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1][0].text, "C3");
  EXPECT_EQ(rows[1][1].text.rfind("a name far longer than thirty", 0), 0u);
  EXPECT_LE(rows[1][1].text.size(), 30u);  // cut to the field
  EXPECT_EQ(rows[2][0].text, "Z9");
  EXPECT_DOUBLE_EQ(rows[2][2].number, 21);

  // A device that held the table gets the new rows and the old key deleted.
  std::vector<server::Task> tasks;
  ASSERT_TRUE(store_->addDevice("joe", "dev1", error));
  ASSERT_TRUE(store_->markDelivered("joe", "dev1", {{"CLIENTS", generation, before, 0}}, error)) << error;
  ASSERT_TRUE(store_->buildTasks("joe", "dev1", tasks, error)) << error;
  const server::Task* download = nullptr;
  for (const server::Task& t : tasks)
    if (t.table == "CLIENTS" && t.type == server::kTaskDownload) download = &t;
  ASSERT_TRUE(download);
  EXPECT_EQ(download->mode, 'P');
  server::Download d;
  ASSERT_TRUE(store_->download("joe", "dev1", *download, d, error)) << error;
  int inserts = 0, deletes = 0;
  for (const auto& r : d.rows) (r[2] == 3 ? deletes : inserts)++;
  EXPECT_EQ(inserts, 2);  // C3 and Z9
  EXPECT_EQ(deletes, 1);  // A1
}

TEST_P(RpcQueryTest, ResultSetsCarryTheTableFieldsOrWhatAColumnHolds) {
  QueryResult q =
      run("select code, since, active, balance * 2 as twice, upper(name) as loud, count(*) over () as n "
          "from clients order by code",
          true);
  ASSERT_TRUE(q.ok) << q.error;
  ASSERT_EQ(q.fields.size(), 6u);
  EXPECT_EQ(q.fields[0].type, 'C');
  EXPECT_EQ(q.fields[0].length, 6);
  EXPECT_EQ(q.fields[1].type, 'D');
  EXPECT_EQ(q.fields[2].type, 'L');
  EXPECT_EQ(q.fields[3].type, 'N');
  EXPECT_EQ(q.fields[3].decimals, 4);
  EXPECT_EQ(q.fields[4].type, 'C');
  EXPECT_EQ(q.fields[4].length, 5);  // "BRUNO"
  ASSERT_EQ(q.rows.size(), 2u);
  EXPECT_DOUBLE_EQ(q.rows[0][1].number, 45000);
  EXPECT_TRUE(q.rows[0][2].logical);
  EXPECT_EQ(q.rows[1][4].text, "BRUNO");

  std::string many = "select ";
  for (int i = 0; i < 501; ++i) many += (i ? ", code as c" : "code as c") + std::to_string(i);
  many += " from clients";
  q = run(many, true);
  EXPECT_FALSE(q.ok);
  EXPECT_NE(q.error.find("500"), std::string::npos);
}

TEST_P(RpcQueryTest, ANewStructureIsSeenByTheNextStatement) {
  ASSERT_TRUE(run("select * from clients", true).ok);
  TableDef wider;
  std::string error;
  ASSERT_TRUE(server::parseStructure(std::string(kClients) + "field CITY C 20\n", wider, error)) << error;
  bool changed = false;
  ASSERT_TRUE(store_->defineTable(wider, changed, error)) << error;
  ASSERT_TRUE(changed);
  const QueryResult u = run("update clients set city = 'Porto' where code = 'A1'", false);
  ASSERT_TRUE(u.ok) << u.error;
  const QueryResult q = run("select city from clients where code = 'A1'", true);
  ASSERT_TRUE(q.ok) << q.error;
  ASSERT_EQ(q.rows.size(), 1u);
  EXPECT_EQ(q.rows[0][0].text, "Porto");
}

INSTANTIATE_TEST_SUITE_P(Backends, RpcQueryTest, ::testing::Values("sqlite", "postgres"));

// A role that could reach more than the views is not used for devices.
TEST_F(RpcTest, PostgresRefusesADeviceRoleThatMayDoMore) {
  PostgresProcess pg;
  std::string why;
  if (!pg.start(why)) GTEST_SKIP() << "PostgreSQL could not be started: " << why;
  const std::string address = pg.newDatabase("roles");
  std::string error;
  auto store = Store::open(address, true, error);
  ASSERT_TRUE(store) << error;
  ASSERT_TRUE(server::QueryDatabase::openPostgres(address, "plain_device", error)) << error;
  const char* grants[] = {"GRANT SELECT ON zs_devices TO plain_device", "ALTER ROLE plain_device CREATEROLE",
                          "GRANT pg_read_all_data TO plain_device"};
  const char* undo[] = {"REVOKE SELECT ON zs_devices FROM plain_device", "ALTER ROLE plain_device NOCREATEROLE",
                        "REVOKE pg_read_all_data FROM plain_device"};
  for (size_t i = 0; i < 3; ++i) {
    ASSERT_TRUE(store->sql().script(grants[i], error)) << error;
    EXPECT_FALSE(server::QueryDatabase::openPostgres(address, "plain_device", error)) << grants[i];
    EXPECT_NE(error.find("more than"), std::string::npos) << error;
    ASSERT_TRUE(store->sql().script(undo[i], error)) << error;
  }
  EXPECT_TRUE(server::QueryDatabase::openPostgres(address, "plain_device", error)) << error;
}

TEST(RpcPackets, ResultHeadsOfMoreThan500FieldsAreNeitherWrittenNorRead) {
  std::vector<uint8_t> buffer(wire::kBufferSize * 2);
  for (int count : {500, 501}) {
    std::vector<wire::FieldDef> fields(static_cast<size_t>(count), wire::FieldDef{"F", 'C', 1, 0});
    wire::PacketWriter w(buffer.data(), buffer.size(), wire::Order::Big);
    EXPECT_EQ(wire::writeResultHead(w, fields, 0), count == 500);
    // Written by hand: a head announcing `count` fields.
    wire::PacketWriter raw(buffer.data(), buffer.size(), wire::Order::Big);
    raw.writeUShort(static_cast<uint16_t>(count));
    for (int i = 0; i < count; ++i) {
      raw.writeString("F");
      raw.writeString("C");
      raw.writeUShort(1);
      raw.writeUShort(0);
    }
    raw.writeInt(0);
    wire::PacketReader r(buffer.data(), raw.position(), wire::Order::Big);
    std::vector<wire::FieldDef> got;
    int32_t rows = -1;
    EXPECT_EQ(wire::readResultHead(r, got, rows), count == 500) << count;
  }
}

TEST(RpcFunctions, ProgramsRunWithoutAShellAndWithinTheirTime) {
  std::string out;
  EXPECT_TRUE(server::runProgram({"/bin/echo", "a b", "$HOME;rm -rf /"}, {}, 5, 1000, out));
  EXPECT_EQ(out, "a b $HOME;rm -rf /");  // arguments reach it as they are
  EXPECT_TRUE(server::runProgram({"/bin/sh", "-c", "echo $ZELTA_DEVICE"}, {"ZELTA_DEVICE=dev1"}, 5, 1000, out));
  EXPECT_EQ(out, "dev1");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(server::runProgram({"/bin/sleep", "10"}, {}, 1, 1000, out));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_NE(out.find("longer than 1 s"), std::string::npos) << out;
  EXPECT_FALSE(server::runProgram({"/bin/false"}, {}, 5, 1000, out));
  EXPECT_NE(out.find("status 1"), std::string::npos) << out;
  EXPECT_FALSE(server::runProgram({"/no/such/program"}, {}, 5, 1000, out));
  EXPECT_FALSE(server::runProgram({"/usr/bin/yes"}, {}, 5, 1000, out));  // writes without end
  EXPECT_NE(out.find("more than 1000"), std::string::npos) << out;
}

TEST_F(RpcTest, FunctionsAndOperationsFromTheRegistry) {
  FILE* sink = tmpfile();
  const std::vector<std::vector<std::string>> commands = {
      {"add-function", "greet", "5", "/bin/echo", "hi"},
      {"add-operation", "7", "ping", "Answers pong", "echo", "pong"},
  };
  for (const auto& c : commands) ASSERT_EQ(server::runFunctionAdmin(*store_, c, sink, sink), 0) << c[0];
  EXPECT_EQ(server::runFunctionAdmin(*store_, {"add-function", "echo", "5", "/bin/echo"}, sink, sink), 2);
  EXPECT_EQ(server::runFunctionAdmin(*store_, {"add-function", "rel", "5", "echo"}, sink, sink), 1);
  EXPECT_EQ(server::runFunctionAdmin(*store_, {"status"}, sink, sink), -1);
  fclose(sink);

  std::string reply;
  EXPECT_TRUE(server::callFunction(*store_, {"joe", "dev1", "greet", {"there"}}, reply));
  EXPECT_EQ(reply, "hi there");
  EXPECT_TRUE(server::callFunction(*store_, {"joe", "dev1", "echo", {"a", "b"}}, reply));
  EXPECT_EQ(reply, "a|b");
  EXPECT_FALSE(server::callFunction(*store_, {"joe", "dev1", "nothing", {}}, reply));

  server::RpcSession session;
  server::RpcSettings settings;
  settings.database = path_;
  std::vector<uint8_t> payload = {0, 1, wire::kAdminList};
  auto bodies = session.handle(*store_, settings, {"joe", "dev1", true, 7}, wire::kAdminList, payload.data(),
                               payload.size(), wire::Order::Big);
  ASSERT_EQ(bodies.size(), 1u);
  wire::PacketReader r(bodies[0].data(), bodies[0].size(), wire::Order::Big, 2);
  EXPECT_EQ(r.readInt(), 1);
  EXPECT_EQ(r.readInt(), 1);
  EXPECT_EQ(r.readString(), "ping");
  // Another administrator, or none, sees nothing of it.
  bodies = session.handle(*store_, settings, {"joe", "dev1", true, 8}, wire::kAdminList, payload.data(), payload.size(),
                          wire::Order::Big);
  wire::PacketReader other(bodies[0].data(), bodies[0].size(), wire::Order::Big, 2);
  EXPECT_EQ(other.readInt(), 0);
  bodies = session.handle(*store_, settings, {"joe", "dev1", false, 7}, wire::kAdminList, payload.data(),
                          payload.size(), wire::Order::Big);
  EXPECT_EQ(bodies[0][2], 0);
}

TEST_F(RpcTest, ImagesAreKeptUnderPlainNamesInTheDevicesFolder) {
  server::RpcSession session;
  server::RpcSettings settings;
  settings.imageFolder = folder_ + "/images";
  auto send = [&](const std::string& name, uint32_t size, const std::string& data, const std::string& device) {
    std::vector<uint8_t> payload(wire::kMaxPayload);
    wire::PacketWriter w(payload.data(), payload.size(), wire::Order::Big);
    wire::writeRequestHead(w, wire::kRpcImage);
    w.writeUInt(size);
    w.writeString(name);
    w.writeUInt(static_cast<uint32_t>(data.size()));
    w.writeBytes(data.data(), data.size());
    const auto bodies = session.handle(*store_, settings, {"joe", device, false, 0}, wire::kRpcImage, payload.data(),
                                       w.position(), wire::Order::Big);
    return bodies.size() == 1 ? bodies[0][2] : -1;
  };
  EXPECT_EQ(send("a.jpg", 6, "abc", "dev/1"), wire::kReplyOk);
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/images/dev_1/a.jpg"));  // not whole yet
  EXPECT_EQ(send("a.jpg", 6, "def", "dev/1"), wire::kReplyOk);
  EXPECT_EQ(std::filesystem::file_size(folder_ + "/images/dev_1/a.jpg"), 6u);
  EXPECT_EQ(send("b.jpg", 2, "abc", "dev/1"), 0);  // longer than it said
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/images/dev_1/b.jpg"));
  for (const char* bad : {"../x", "/etc/passwd", ".hidden", "a/b", ""}) EXPECT_EQ(send(bad, 1, "x", "dev1"), 0) << bad;
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/images/x"));
}

}  // namespace
