// zeltasyncd: the conversation fed frames directly (against an in-memory
// store), the session log, the command line and the admin commands; then
// the real server process, holding its cap on connections and its time-out
// while it goes on serving.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "admin.h"
#include "command_line.h"
#include "conversation.h"
#include "framing.h"
#include "protocol.h"
#include "postgres_process.h"
#include "rpc_packets.h"
#include "server_process.h"
#include "session_log.h"
#include "sync_packets.h"
#include "table_def.h"
#include "table_rows.h"
#include "zlib_codec.h"
#include "store.h"

namespace {

using Bytes = std::vector<uint8_t>;

// One device frame: header, then the payload the writer built.
struct Frame {
  explicit Frame(uint8_t command, wire::Order o = wire::Order::Big) : order(o), w(payload, sizeof payload, o) {
    wire::writeRequestHead(w, command);
  }
  Bytes bytes() const {
    Bytes out(3 + w.position());
    wire::writeClientHeader(out.data(), static_cast<uint16_t>(w.position()), order);
    std::copy(payload, payload + w.position(), out.begin() + 3);
    return out;
  }
  wire::Order order;
  uint8_t payload[wire::kMaxPayload];
  wire::PacketWriter w;
};

Bytes loginFrame(const std::string& user, const std::string& device, const std::string& version = "6.0.0",
                 wire::Order order = wire::Order::Big) {
  wire::LoginRequest l;
  l.user = user;
  l.device = device;
  l.clientVersion = version;
  uint8_t payload[1024];
  wire::PacketWriter w(payload, sizeof payload, order);
  wire::writeLogin(w, l);
  Bytes out(3 + w.position());
  wire::writeClientHeader(out.data(), static_cast<uint16_t>(w.position()), order);
  std::copy(payload, payload + w.position(), out.begin() + 3);
  return out;
}

Bytes join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// The reply frames of a stream, split by their lengths.
std::vector<Bytes> replies(const Bytes& stream, wire::Order order = wire::Order::Big) {
  std::vector<Bytes> out;
  size_t at = 0;
  while (at + 2 <= stream.size()) {
    const uint16_t n = wire::readServerLength(stream.data() + at, order);
    out.emplace_back(stream.begin() + static_cast<long>(at) + 2, stream.begin() + static_cast<long>(at + 2 + n));
    at += 2 + n;
  }
  EXPECT_EQ(at, stream.size());
  return out;
}

class ConversationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    store = server::Store::open(":memory:", false, error);
    ASSERT_TRUE(store) << error;
    ASSERT_TRUE(store->addDevice("joe", "dev1", error));
    conversation = std::make_unique<server::Conversation>(*store, settings);
  }
  Bytes run(const Bytes& stream) { return server::runStream(*conversation, stream.data(), stream.size()); }
  server::Result result() const { return conversation->result(); }

  std::unique_ptr<server::Store> store;
  server::Settings settings;
  std::unique_ptr<server::Conversation> conversation;
};

Bytes accepted(const std::string& version = "6.0.0") {
  const std::string body = std::string("\0\1\15", 3) + version + std::string("\0d\xfa", 3);
  return Bytes(body.begin(), body.end());
}

TEST_F(ConversationTest, LoginKeepAliveTaskCountGoodbye) {
  Frame alive(wire::kKeepAlive), count(wire::kTaskCount), bye(wire::kGoodbye);
  const std::vector<Bytes> r =
      replies(run(join({loginFrame("joe", "dev1"), alive.bytes(), count.bytes(), bye.bytes()})));
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[0], accepted());
  EXPECT_EQ(r[1], (Bytes{0, 1, wire::kReplyOk}));
  EXPECT_EQ(r[2], (Bytes{0, 1, '0', 0}));
  EXPECT_EQ(result(), server::Result::Ok);
  EXPECT_EQ(conversation->requests(), 4);
}

TEST_F(ConversationTest, LittleEndianDeviceIsAnsweredInItsOrder) {
  Frame alive(wire::kKeepAlive, wire::Order::Little);
  const Bytes out = run(join({loginFrame("joe", "dev1", "6.0.0", wire::Order::Little), alive.bytes()}));
  const std::vector<Bytes> r = replies(out, wire::Order::Little);
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0][0], 1);  // the kept 16-bit 1, least significant byte first
  EXPECT_EQ(r[0][2], wire::kReplyOk);
}

TEST_F(ConversationTest, RefusalsCarryATextLongerThanAnAlertNeeds) {
  const struct {
    std::string user, device, version;
    const char* words;
  } cases[] = {
      {"bob", "dev1", "6.0.0", "bob"},
      {"joe", "dev2", "6.0.0", "dev2"},
      {"JOE", "dev1", "6.0.0", "JOE"},  // names are matched exactly
      {"joe", "dev1", "5.9.0", "5.9.0"},
  };
  for (const auto& c : cases) {
    conversation = std::make_unique<server::Conversation>(*store, settings);
    Frame alive(wire::kKeepAlive);
    const std::vector<Bytes> r = replies(run(join({loginFrame(c.user, c.device, c.version), alive.bytes()})));
    ASSERT_EQ(r.size(), 1u) << c.words;  // nothing after the refusal
    EXPECT_NE(r[0][2], wire::kReplyOk);
    const std::string text(reinterpret_cast<const char*>(r[0].data() + 3));
    EXPECT_GT(text.size(), 15u);
    EXPECT_NE(text.find(c.words), std::string::npos) << text;
    EXPECT_EQ(result(), server::Result::Refused);
  }
}

TEST_F(ConversationTest, MalformedStreamsEndTheSession) {
  Frame alive(wire::kKeepAlive), bye(wire::kGoodbye);
  Bytes login = loginFrame("joe", "dev1");
  Bytes noLead = alive.bytes();
  noLead[4] = 2;  // lead 2 instead of 1
  Bytes cutLogin = login;
  cutLogin.resize(cutLogin.size() - 5);
  cutLogin[2] = static_cast<uint8_t>(cutLogin[2] - 5);
  Bytes unknown = Frame(0x55).bytes();
  const struct {
    const char* name;
    Bytes stream;
    server::Result result;
    size_t replies;
  } cases[] = {
      {"request before login", alive.bytes(), server::Result::BadPacket, 0},
      {"goodbye before login", bye.bytes(), server::Result::BadPacket, 0},
      {"bad marker", Bytes{'X', 0, 3, 0, 1, 2}, server::Result::BadPacket, 0},
      {"length 12001", Bytes{'B', 0x2E, 0xE1}, server::Result::BadPacket, 0},
      {"header cut short", Bytes{'B', 0}, server::Result::Closed, 0},
      {"payload cut short", Bytes{'B', 0, 9, 0, 1}, server::Result::Closed, 0},
      {"empty payload", Bytes{'B', 0, 0}, server::Result::BadPacket, 0},
      {"login cut short", cutLogin, server::Result::BadPacket, 0},
      {"no lead", join({login, noLead}), server::Result::BadPacket, 1},
      {"unknown command", join({login, unknown}), server::Result::BadPacket, 1},
      {"stream ends after login", login, server::Result::Closed, 1},
  };
  for (const auto& c : cases) {
    conversation = std::make_unique<server::Conversation>(*store, settings);
    EXPECT_EQ(replies(run(c.stream)).size(), c.replies) << c.name;
    EXPECT_EQ(result(), c.result) << c.name;
  }
}

TEST_F(ConversationTest, AnnouncesTheConfiguredVersion) {
  settings.version = "6.0.1";
  EXPECT_EQ(replies(run(loginFrame("joe", "dev1")))[0], accepted("6.0.1"));
}

Bytes getTask(int n) {
  Frame f(wire::kGetTask);
  f.w.writeString(std::to_string(n));
  return f.bytes();
}

Bytes deviceFrame(const std::vector<uint8_t>& payload) {
  Bytes out(3 + payload.size());
  wire::writeClientHeader(out.data(), static_cast<uint16_t>(payload.size()), wire::Order::Big);
  std::copy(payload.begin(), payload.end(), out.begin() + 3);
  return out;
}

TEST_F(ConversationTest, PushedFilesGoLastAndLeaveTheQueueOnlyAfterTheGoodbye) {
  std::string error, content;
  for (int i = 0; i < 20000; ++i) content.push_back(static_cast<char>((i * 7919) % 251));
  server::PushedFile file{0, "install", "upd.exe", "7", content},
      image{0, "image", "logo.jpg", "", std::string("\x01\x00\x02", 3)};
  long added = 0;
  ASSERT_TRUE(store->pushFile(file, "joe", "dev1", added, error)) << error;
  ASSERT_TRUE(store->pushFile(image, "", "", added, error)) << error;
  Frame count(wire::kTaskCount), info(wire::kFileInfo), start(wire::kStartFile), images(wire::kStartImages),
      bye(wire::kGoodbye);
  const Bytes session = join(
      {loginFrame("joe", "dev1"), count.bytes(), getTask(1), info.bytes(), start.bytes(), getTask(2), images.bytes()});
  // Cut before the goodbye: both stay queued.
  run(session);
  std::vector<server::Task> tasks;
  ASSERT_TRUE(store->buildTasks("joe", "dev1", tasks, error));
  ASSERT_EQ(tasks.size(), 2u);
  conversation = std::make_unique<server::Conversation>(*store, settings);
  const std::vector<Bytes> r = replies(run(join({session, bye.bytes()})));
  EXPECT_EQ(result(), server::Result::Ok);
  ASSERT_EQ(r.size(), 11u);  // login, count, task, info, size, 3 chunks, task, image, end
  EXPECT_EQ(r[1], (Bytes{0, 1, '2', 0}));
  EXPECT_EQ(r[2], (Bytes{0, 1, 13, 10, 16, 0}));
  EXPECT_EQ(r[3], (Bytes{0, 1, 13, 'u', 'p', 'd', '.', 'e', 'x', 'e', 0, '7', 0}));
  EXPECT_EQ(r[4], (Bytes{0, 1, 13, '2', '0', '0', '0', '0', 0}));
  std::string received;
  for (size_t i = 5; i < 8; ++i) {
    wire::PacketReader reader(r[i].data(), r[i].size(), wire::Order::Big, 2);
    const size_t stated = static_cast<size_t>(atol(std::string(reader.readString()).c_str()));
    std::vector<uint8_t> plain(wire::kBufferSize);
    const wire::Inflated in = wire::inflateLimited(r[i].data() + reader.position(), r[i].size() - reader.position(),
                                                   plain.data(), plain.size());
    ASSERT_EQ(in.status, wire::InflateStatus::Complete);
    ASSERT_EQ(in.size, stated);
    received.append(reinterpret_cast<const char*>(plain.data()), in.size);
  }
  EXPECT_EQ(received, content);
  EXPECT_EQ(r[8], (Bytes{0, 1, 13, 40, 16, 0}));
  EXPECT_EQ(r[9], (Bytes{0, 1, 13, 0, 'l', 'o', 'g', 'o', '.', 'j', 'p', 'g', 0, 0, 3, 1, 0, 2}));
  EXPECT_EQ(r[10], (Bytes{0, 1, 13, 17}));
  ASSERT_TRUE(store->buildTasks("joe", "dev1", tasks, error));
  EXPECT_TRUE(tasks.empty());
  // Out of turn: a file or images request without its task ends the session.
  for (const Bytes& request : {info.bytes(), start.bytes(), images.bytes()}) {
    conversation = std::make_unique<server::Conversation>(*store, settings);
    run(join({loginFrame("joe", "dev1"), count.bytes(), request}));
    EXPECT_EQ(result(), server::Result::BadPacket);
  }
}

class SessionTest : public ConversationTest {
 protected:
  void SetUp() override {
    ConversationTest::SetUp();
    std::string error;
    ASSERT_TRUE(
        server::parseStructure("table ITEMS Items\nupload yes\nfield CODE C 4\nfield PRICE N 9 2\n"
                               "index ITEMS1 CODE\n",
                               def, error));
    bool changed;
    ASSERT_TRUE(store->defineTable(def, changed, error)) << error;
    server::LoadCounts counts;
    std::vector<wire::Row> rows;
    for (int i = 0; i < 300; ++i) rows.push_back(item("I" + std::to_string(i), i * 1.25));
    ASSERT_TRUE(store->loadRows(def, rows, counts, error)) << error;
  }
  static wire::Row item(const std::string& code, double price) {
    wire::Row r(2);
    r[0].text = code;
    r[1].number = price;
    return r;
  }
  Bytes upload(const std::vector<wire::Row>& rows) {
    std::vector<uint8_t> data, packet(wire::kBufferSize);
    for (const wire::Row& r : rows) wire::appendUploadRow(def.fields, r, data);
    const wire::Deflated d = wire::buildUploadPacket(data.data(), data.size(), static_cast<uint16_t>(rows.size()),
                                                     packet.data(), packet.size(), wire::Order::Big);
    packet.resize(d.size);
    return deviceFrame(packet);
  }
  // The rows of a download reply stream: every data packet inflated.
  std::vector<std::pair<int, wire::Row>> downloaded(const std::vector<Bytes>& packets, bool& ended) {
    std::vector<std::pair<int, wire::Row>> rows;
    ended = false;
    for (const Bytes& p : packets) {
      if (p.size() >= 3 && p[2] == 11) {
        ended = true;
        break;
      }
      EXPECT_EQ(p[2], 12);
      EXPECT_EQ(p[3], 14);
      const wire::DownloadHeader h = wire::readDownloadHeader(p.data(), wire::Order::Big);
      EXPECT_EQ(h.packetSize, p.size());
      std::vector<uint8_t> plain(wire::kBufferSize);
      const wire::Inflated i = wire::inflateLimited(p.data() + 10, p.size() - 10, plain.data(), plain.size());
      EXPECT_EQ(i.status, wire::InflateStatus::Complete);
      EXPECT_EQ(i.size, h.uncompressed);
      size_t at = 0, count = 0;
      while (at < i.size) {
        const size_t n = wire::get16(&plain[at], wire::Order::Big);
        wire::Row r;
        EXPECT_TRUE(wire::readStoredRecord(def.fields, &plain[at + 3], n - 3, r));
        rows.push_back({plain[at + 2], r});
        at += n;
        ++count;
      }
      EXPECT_EQ(count, h.rows);
    }
    return rows;
  }
  server::TableDef def;
};

TEST_F(SessionTest, TasksDownloadsAndUploadsOfOneSession) {
  Frame count(wire::kTaskCount), download(wire::kStartDownload), bye(wire::kGoodbye);
  const Bytes stream =
      join({loginFrame("joe", "dev1"), count.bytes(), getTask(1), upload({item("I1", 99), item("NEW", 7)}), getTask(5),
            download.bytes(), getTask(6), bye.bytes()});
  const std::vector<Bytes> r = replies(run(stream));
  ASSERT_GE(r.size(), 6u);
  EXPECT_EQ(r[1], (Bytes{0, 1, '5', 0}));  // upload, the three catalog tables, ITEMS
  EXPECT_EQ(r[2], (Bytes{0, 1, 13, 2, 0, 'I', 'T', 'E', 'M', 'S', 0}));
  EXPECT_EQ(r[3], (Bytes{0, 1, 13}));  // the upload packet is acknowledged
  EXPECT_EQ(r[4], (Bytes{0, 1, 13, 1, 0, 'I', 'T', 'E', 'M', 'S', 0, 0, 0, 0x01, 0x2C, 'T'}));  // 300 rows, total
  bool ended = false;
  const std::vector<Bytes> packets(r.begin() + 5, r.end() - 1);
  const auto rows = downloaded(packets, ended);
  EXPECT_TRUE(ended);
  EXPECT_GE(packets.size(), 2u);  // data packets, then the end of the stream
  // The upload was written back before the download was read.
  ASSERT_EQ(rows.size(), 301u);
  std::map<std::string, double> prices;
  for (const auto& [op, row] : rows) {
    EXPECT_EQ(op, 1);
    prices[row[0].text] = row[1].number;
  }
  EXPECT_EQ(prices["I1"], 99);
  EXPECT_EQ(prices["NEW"], 7);
  EXPECT_EQ(r.back(), (Bytes{0, 1, 0}));  // task 6 does not exist
  EXPECT_EQ(result(), server::Result::Ok);
  EXPECT_EQ(conversation->rowsSent(), 301);
  EXPECT_EQ(conversation->rowsReceived(), 2);
  // Delivered: the next session finds ITEMS current, and the catalog still
  // waiting (this session never fetched it).
  std::vector<server::Task> next;
  std::string error;
  ASSERT_TRUE(store->buildTasks("joe", "dev1", next, error));
  ASSERT_EQ(next.size(), 4u);
  EXPECT_EQ(next.back().table, "ZEL_IND");
}

TEST_F(SessionTest, WithoutAGoodbyeUploadsLandButNothingCountsAsDelivered) {
  Frame count(wire::kTaskCount), download(wire::kStartDownload);
  run(join(
      {loginFrame("joe", "dev1"), count.bytes(), getTask(1), upload({item("CUT", 1)}), getTask(5), download.bytes()}));
  EXPECT_EQ(result(), server::Result::Closed);
  std::vector<wire::Row> rows;
  std::string error;
  ASSERT_TRUE(store->exportRows(def, rows, error));
  EXPECT_EQ(rows.size(), 301u);
  std::vector<server::Task> next;
  ASSERT_TRUE(store->buildTasks("joe", "dev1", next, error));
  EXPECT_EQ(next.size(), 5u);  // the same list again: the device resumes or restarts
}

TEST_F(SessionTest, DamagedUploadIsRefusedAndNothingIsWritten) {
  Frame count(wire::kTaskCount), bye(wire::kGoodbye);
  Bytes damaged = upload({item("BAD", 1), item("BAD2", 2)});
  damaged[damaged.size() - 5] ^= 0x77;
  const std::vector<Bytes> r =
      replies(run(join({loginFrame("joe", "dev1"), count.bytes(), getTask(1), damaged, bye.bytes()})));
  ASSERT_EQ(r.size(), 4u);
  EXPECT_EQ(r[3][2], 0);
  const std::string text(reinterpret_cast<const char*>(r[3].data() + 3));
  EXPECT_NE(text.find("Upload of ITEMS refused"), std::string::npos) << text;
  std::vector<wire::Row> rows;
  std::string error;
  ASSERT_TRUE(store->exportRows(def, rows, error));
  EXPECT_EQ(rows.size(), 300u);
}

TEST_F(SessionTest, TotalDownloadsAreSharedUntilTheTableChanges) {
  server::DownloadCache cache;
  settings.cache = &cache;
  std::string error;
  ASSERT_TRUE(store->addDevice("ann", "dev2", error));
  Frame count(wire::kTaskCount), download(wire::kStartDownload), bye(wire::kGoodbye);
  auto fetch = [&](const std::string& user, const std::string& device) {
    conversation = std::make_unique<server::Conversation>(*store, settings);
    const std::vector<Bytes> r =
        replies(run(join({loginFrame(user, device), count.bytes(), getTask(5), download.bytes(), bye.bytes()})));
    return std::vector<Bytes>(r.begin() + 3, r.end());
  };
  const std::vector<Bytes> first = fetch("joe", "dev1");
  EXPECT_GT(cache.bytes(), 0u);
  EXPECT_EQ(fetch("ann", "dev2"), first);  // the same packets, from the cache
  server::LoadCounts counts;
  ASSERT_TRUE(store->loadRows(def, {item("ONLY", 1)}, counts, error)) << error;
  long added = 0;
  ASSERT_TRUE(store->queueTask("download", "ITEMS", "joe", "dev1", added, error));
  conversation = std::make_unique<server::Conversation>(*store, settings);
  const std::vector<Bytes> r = replies(run(join({loginFrame("joe", "dev1"), count.bytes()})));
  EXPECT_EQ(r[1], (Bytes{0, 1, '5', 0}));  // ITEMS in full again, and the catalog it never fetched
  conversation = std::make_unique<server::Conversation>(*store, settings);
  const std::vector<Bytes> changed =
      replies(run(join({loginFrame("joe", "dev1"), count.bytes(), getTask(5), download.bytes(), bye.bytes()})));
  bool ended = false;
  const auto rows = downloaded(std::vector<Bytes>(changed.begin() + 3, changed.end()), ended);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].second[0].text, "ONLY");
}

TEST_F(SessionTest, RequestsOutOfTurn) {
  Frame count(wire::kTaskCount), download(wire::kStartDownload);
  const struct {
    const char* name;
    Bytes stream;
    server::Result result;
  } cases[] = {
      {"download before any task", join({loginFrame("joe", "dev1"), count.bytes(), download.bytes()}),
       server::Result::BadPacket},
      {"download after an upload task", join({loginFrame("joe", "dev1"), count.bytes(), getTask(1), download.bytes()}),
       server::Result::BadPacket},
      {"upload packet without an upload task", join({loginFrame("joe", "dev1"), count.bytes(), upload({item("X", 1)})}),
       server::Result::BadPacket},
  };
  for (const auto& c : cases) {
    conversation = std::make_unique<server::Conversation>(*store, settings);
    run(c.stream);
    EXPECT_EQ(result(), c.result) << c.name;
  }
  conversation = std::make_unique<server::Conversation>(*store, settings);
  const std::vector<Bytes> r = replies(run(join({loginFrame("joe", "dev1"), count.bytes(), getTask(0), getTask(99)})));
  ASSERT_EQ(r.size(), 4u);
  EXPECT_EQ(r[2], (Bytes{0, 1, 0}));
  EXPECT_EQ(r[3], (Bytes{0, 1, 0}));
}

TEST(SessionLog, QuotesWhatCameFromTheNetwork) {
  std::string error;
  auto store = server::Store::open(":memory:", false, error);
  server::Settings settings;
  server::Conversation c(*store, settings);
  const Bytes login = loginFrame("evil user\n", "d\"1\nforged");
  server::runStream(c, login.data(), login.size());
  const std::string line = server::sessionLine(c, "127.0.0.1:9", 0.5);
  EXPECT_EQ(line.find('\n'), std::string::npos);
  EXPECT_NE(line.find("user=\"evil user\\x0a\""), std::string::npos) << line;
  EXPECT_NE(line.find("device=\"d\\\"1\\x0aforged\""), std::string::npos) << line;
  EXPECT_NE(line.find("address=127.0.0.1:9 result=refused requests=1 seconds=0.500 detail="), std::string::npos)
      << line;
}

TEST(CommandLine, Parses) {
  const struct {
    std::vector<const char*> args;
    bool ok;
    const char* error;
  } cases[] = {
      {{"--db", "a.db", "--port", "8025"}, true, ""},
      {{"--db", "a.db", "--port", "65536"}, false, "--port"},
      {{"--db", "a.db", "--port", "-1"}, false, "--port"},
      {{"--port", "8025"}, false, "--db"},
      {{"--db"}, false, "needs a value"},
      {{"--db", "a.db", "--frobnicate", "1"}, false, "unknown option"},
      {{"--db", "a.db", "stray"}, false, "unexpected"},
      {{"--db", "a.db", "--max-connections", "0"}, false, "--max-connections"},
      {{"--db", "a.db", "--timeout", "3"}, true, ""},
      {{"--pg", "dbname=x", "--query-role", "shop_devices"}, true, ""},
      {{"--pg", "dbname=x", "--query-role", "x\"; drop role y"}, false, "--query-role"},
      {{"admin", "--db", "a.db", "list-users"}, true, ""},
      {{"admin", "--db", "a.db"}, false, "admin needs a command"},
      {{"admin", "--db", "a.db", "--port", "1", "list-users"}, false, "admin takes only --db"},
  };
  for (const auto& c : cases) {
    std::vector<char*> argv = {const_cast<char*>("zeltasyncd")};
    for (const char* a : c.args) argv.push_back(const_cast<char*>(a));
    server::CommandLine line;
    std::string error;
    EXPECT_EQ(server::parseCommandLine(static_cast<int>(argv.size()), argv.data(), line, error), c.ok) << error;
    if (!c.ok) {
      EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
  }
}

// The admin commands with their output captured.
struct AdminRun {
  int status;
  std::string out, err;
};

AdminRun admin(server::Store& store, const std::vector<std::string>& words) {
  char* outText = nullptr;
  char* errText = nullptr;
  size_t outSize = 0, errSize = 0;
  FILE* out = open_memstream(&outText, &outSize);
  FILE* err = open_memstream(&errText, &errSize);
  const int status = server::runAdmin(store, words, out, err);
  fclose(out);
  fclose(err);
  AdminRun r{status, outText, errText};
  free(outText);
  free(errText);
  return r;
}

TEST(Admin, RegistersListsAndRemoves) {
  std::string error;
  auto store = server::Store::open(":memory:", false, error);
  EXPECT_EQ(admin(*store, {"add-user", "joe", "dev1"}).status, 0);
  EXPECT_EQ(admin(*store, {"add-user", "joe", "dev2"}).status, 0);
  EXPECT_EQ(admin(*store, {"add-user", "ann", "dev9"}).status, 0);
  const AdminRun again = admin(*store, {"add-user", "joe", "dev1"});
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.err.find("already registered"), std::string::npos);
  EXPECT_EQ(admin(*store, {"list-users"}).out, "ann\tdev9\t0\t-\t-\njoe\tdev1\t0\t-\t-\njoe\tdev2\t0\t-\t-\n");
  EXPECT_TRUE(store->recordSession("joe", "dev2", "ok", error));
  EXPECT_NE(admin(*store, {"list-users"}).out.find("joe\tdev2\t1\t20"), std::string::npos);
  EXPECT_EQ(admin(*store, {"remove-user", "joe", "dev1"}).out, "removed 1\n");
  EXPECT_EQ(admin(*store, {"remove-user", "joe", "dev1"}).status, 1);
  EXPECT_EQ(admin(*store, {"remove-user", "ann"}).out, "removed 1\n");
  EXPECT_EQ(admin(*store, {"list-users"}).out.find("ann"), std::string::npos);
  EXPECT_EQ(admin(*store, {"add-user", "joe"}).status, 2);
  EXPECT_EQ(admin(*store, {"frobnicate"}).status, 2);
}

// A blocking loopback client speaking raw frames.
class Client {
 public:
  explicit Client(int port) {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(port));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
    timeval limit{5, 0};
    setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  }
  ~Client() { close(fd_); }
  bool connected() const { return connected_; }
  void send(const Bytes& b) {
    ASSERT_EQ(::send(fd_, b.data(), b.size(), MSG_NOSIGNAL), static_cast<ssize_t>(b.size()));
  }
  // One reply body, or empty when the server closed instead.
  Bytes reply() {
    uint8_t length[2];
    if (!readAll(length, 2)) return {};
    Bytes body(wire::readServerLength(length, wire::Order::Big));
    if (!readAll(body.data(), body.size())) return {};
    return body;
  }
  // True when the server closed the connection.
  bool closedByServer() {
    uint8_t b;
    return recv(fd_, &b, 1, 0) == 0;
  }

 private:
  bool readAll(uint8_t* p, size_t n) {
    while (n) {
      const ssize_t rc = recv(fd_, p, n, 0);
      if (rc <= 0) return false;
      p += rc;
      n -= static_cast<size_t>(rc);
    }
    return true;
  }
  int fd_;
  bool connected_ = false;
};

TEST(ServerProcessTest, CapsConnectionsAndKeepsServingTheOthers) {
  ServerProcess server;
  ASSERT_EQ(server.admin({"add-user", "joe", "dev1"}), 0);
  ASSERT_TRUE(server.start({"--max-connections", "2", "--workers", "2"}));
  Client a(server.port()), b(server.port());
  a.send(loginFrame("joe", "dev1"));
  b.send(loginFrame("joe", "dev1"));
  EXPECT_EQ(a.reply(), accepted());
  EXPECT_EQ(b.reply(), accepted());
  Client c(server.port());
  ASSERT_TRUE(c.connected());
  EXPECT_TRUE(c.closedByServer());
  a.send(Frame(wire::kKeepAlive).bytes());
  EXPECT_EQ(a.reply(), (Bytes{0, 1, wire::kReplyOk}));
  a.send(Frame(wire::kGoodbye).bytes());
  EXPECT_TRUE(a.closedByServer());
  const std::string log = server.waitForSessions(2);
  EXPECT_NE(log.find("result=busy"), std::string::npos) << log;
  EXPECT_NE(log.find("session user=joe device=dev1 address=127.0.0.1:"), std::string::npos) << log;
  EXPECT_NE(log.find("result=ok requests=3"), std::string::npos) << log;
  std::string list;
  server.admin({"list-users"}, &list);
  EXPECT_NE(list.find("joe\tdev1\t1\t"), std::string::npos) << list;
}

TEST(ServerProcessTest, SilentDeviceIsCutAtTheTimeOutWhileOthersAreServed) {
  ServerProcess server;
  ASSERT_EQ(server.admin({"add-user", "joe", "dev1"}), 0);
  ASSERT_TRUE(server.start({"--timeout", "1"}));
  Client silent(server.port());
  Client half(server.port());
  half.send(Bytes{'B', 0, 40, 0, 1});  // a header promising more than comes
  Client busy(server.port());
  busy.send(loginFrame("joe", "dev1"));
  EXPECT_EQ(busy.reply(), accepted());
  busy.send(Frame(wire::kGoodbye).bytes());
  EXPECT_TRUE(silent.closedByServer());
  EXPECT_TRUE(half.closedByServer());
  const std::string log = server.waitForSessions(3);
  size_t timeouts = 0;
  for (size_t at = 0; (at = log.find("result=time-out", at)) != std::string::npos; ++at) ++timeouts;
  EXPECT_EQ(timeouts, 2u) << log;
}

TEST(ServerProcessTest, TwoServersOnOnePostgresDatabaseServeTheSameTables) {
  PostgresProcess postgres;
  std::string why;
  if (!postgres.start(why)) GTEST_SKIP() << "PostgreSQL could not be started: " << why;
  const std::string address = postgres.newDatabase("shared");
  ServerProcess first, second;
  first.usePostgres(address);
  second.usePostgres(address);
  ASSERT_EQ(first.admin({"add-user", "joe", "dev1"}), 0);
  ASSERT_EQ(first.admin({"add-user", "ann", "dev2"}), 0);
  const std::string structure = first.dir() + "/items.str";
  {
    std::ofstream(structure) << "table ITEMS\nupload yes\nfield CODE C 4\nfield PRICE N 9 2\nindex ITEMS1 CODE\n";
    std::ofstream(first.dir() + "/items.csv") << "CODE,PRICE\nA,1\nB,2\n";
  }
  ASSERT_EQ(first.admin({"load-table", structure, first.dir() + "/items.csv"}), 0);
  ASSERT_TRUE(first.start({"--workers", "2"}));
  ASSERT_TRUE(second.start());
  // joe uploads a row through the first server ...
  {
    Client c(first.port());
    c.send(loginFrame("joe", "dev1"));
    EXPECT_EQ(c.reply(), accepted());
    c.send(Frame(wire::kTaskCount).bytes());
    EXPECT_EQ(c.reply(), (Bytes{0, 1, '5', 0}));
    c.send(getTask(1));
    const Bytes task = c.reply();
    ASSERT_GE(task.size(), 4u);
    EXPECT_EQ(task[3], 2);
    std::vector<uint8_t> rows, packet(wire::kBufferSize);
    server::TableDef def;
    std::string error;
    ASSERT_TRUE(server::parseStructure("table ITEMS\nfield CODE C 4\nfield PRICE N 9 2\nindex I CODE\n", def, error));
    wire::Row r(2);
    r[0].text = "C";
    r[1].number = 3.5;
    wire::appendUploadRow(def.fields, r, rows);
    const wire::Deflated d =
        wire::buildUploadPacket(rows.data(), rows.size(), 1, packet.data(), packet.size(), wire::Order::Big);
    packet.resize(d.size);
    c.send(deviceFrame(packet));
    EXPECT_EQ(c.reply(), (Bytes{0, 1, 13}));
    c.send(Frame(wire::kGoodbye).bytes());
    EXPECT_TRUE(c.closedByServer());
  }
  // ... and ann's download through the second server holds it.
  Client c(second.port());
  c.send(loginFrame("ann", "dev2"));
  EXPECT_EQ(c.reply(), accepted());
  c.send(Frame(wire::kTaskCount).bytes());
  EXPECT_EQ(c.reply(), (Bytes{0, 1, '5', 0}));
  c.send(getTask(5));
  const Bytes task = c.reply();
  ASSERT_GE(task.size(), 16u);
  EXPECT_EQ(task[task.size() - 2], 3);  // three rows
  c.send(Frame(wire::kStartDownload).bytes());
  const Bytes packet = c.reply();
  ASSERT_GT(packet.size(), 10u);
  std::vector<uint8_t> plain(wire::kBufferSize);
  const wire::Inflated i = wire::inflateLimited(packet.data() + 10, packet.size() - 10, plain.data(), plain.size());
  ASSERT_EQ(i.status, wire::InflateStatus::Complete);
  EXPECT_NE(std::string(plain.begin(), plain.begin() + static_cast<long>(i.size)).find('C'), std::string::npos);
  EXPECT_EQ(c.reply(), (Bytes{0, 1, 11, 0}));
  // A device statement through the second server, and one it may not run.
  const struct {
    const char* sql;
    uint8_t status;
  } statements[] = {{"update items set price = price * 2 where code = 'C'", wire::kReplyOk},
                    {"update items set price = (select count(*) from zs_devices)", 0}};
  for (const auto& s : statements) {
    Frame write(wire::kRpcWrite);
    write.w.writeString(s.sql);
    c.send(write.bytes());
    const Bytes done = c.reply();
    ASSERT_GE(done.size(), 3u) << s.sql;
    EXPECT_EQ(done[2], s.status) << s.sql << ": " << reinterpret_cast<const char*>(done.data() + 3);
  }
  std::string exported;
  first.admin({"export-table", "items"}, &exported);
  EXPECT_EQ(exported, "CODE,PRICE\nA,1.00\nB,2.00\nC,7.00\n");
}

// A table's total download built at its change and kept in the database:
// another server process on the same database (one SQLite file, or
// PostgreSQL) sends it as kept, and a change makes it build anew.
class KeptDownloadTest : public ::testing::TestWithParam<std::string> {
 protected:
  static server::TableDef items() {
    server::TableDef def;
    std::string error;
    EXPECT_TRUE(server::parseStructure(kItems, def, error)) << error;
    return def;
  }
  // A device's first session: ITEMS in full, as code and price.
  static std::map<std::string, double> firstDownload(int port, const std::string& user, const std::string& device) {
    std::map<std::string, double> prices;
    Client c(port);
    c.send(loginFrame(user, device));
    EXPECT_EQ(c.reply(), accepted());
    c.send(Frame(wire::kTaskCount).bytes());
    EXPECT_EQ(c.reply(), (Bytes{0, 1, '5', 0}));
    c.send(getTask(5));
    const Bytes task = c.reply();
    EXPECT_NE(std::string(task.begin(), task.end()).find("ITEMS"), std::string::npos);
    c.send(Frame(wire::kStartDownload).bytes());
    const server::TableDef def = items();
    for (Bytes p = c.reply(); p.size() > 10 && p[2] == 12; p = c.reply()) {
      std::vector<uint8_t> plain(wire::kBufferSize);
      const wire::Inflated i = wire::inflateLimited(p.data() + 10, p.size() - 10, plain.data(), plain.size());
      EXPECT_EQ(i.status, wire::InflateStatus::Complete);
      for (size_t at = 0; at + 3 <= i.size;) {
        const size_t n = wire::get16(&plain[at], wire::Order::Big);
        wire::Row r;
        EXPECT_TRUE(wire::readStoredRecord(def.fields, &plain[at + 3], n - 3, r));
        prices[r[0].text] = r[1].number;
        at += n;
      }
    }
    c.send(Frame(wire::kGoodbye).bytes());
    EXPECT_TRUE(c.closedByServer());
    return prices;
  }
  static constexpr const char* kItems = "table ITEMS\nupload yes\nfield CODE C 4\nfield PRICE N 9 2\nindex ITEMS1 CODE\n";
};

TEST_P(KeptDownloadTest, BuiltAtTheChangeServedByAnotherServerNeverStale) {
  PostgresProcess postgres;
  ServerProcess first, second;
  std::string address = first.db();
  const bool pg = GetParam() == "postgres";
  if (pg) {
    std::string why;
    if (!postgres.start(why)) GTEST_SKIP() << "PostgreSQL could not be started: " << why;
    address = postgres.newDatabase("kept");
    first.usePostgres(address);
  }
  second.useDatabaseOf(first);
  for (const char* device : {"dev1", "dev2", "dev3"}) ASSERT_EQ(first.admin({"add-user", "joe", device}), 0);
  std::ofstream(first.dir() + "/items.str") << kItems;
  std::ofstream(first.dir() + "/items.csv") << "CODE,PRICE\nA,1\nB,2\nC,3\n";
  ASSERT_EQ(first.admin({"load-table", first.dir() + "/items.str", first.dir() + "/items.csv"}), 0);
  // The load built the download: rows changed behind the store's back
  // (no new version) are not in what a server sends.
  std::string error;
  std::unique_ptr<server::Store> direct = server::Store::open(address, pg, error);
  ASSERT_TRUE(direct) << error;
  ASSERT_TRUE(direct->sql().exec("UPDATE \"zt_ITEMS\" SET \"PRICE\" = 99", {}, nullptr, error)) << error;
  ASSERT_TRUE(second.start());
  EXPECT_EQ(firstDownload(second.port(), "joe", "dev2"), (std::map<std::string, double>{{"A", 1}, {"B", 2}, {"C", 3}}));
  // An upload through the first server makes a new version, which that
  // server's builder keeps ...
  ASSERT_TRUE(first.start());
  {
    Client c(first.port());
    c.send(loginFrame("joe", "dev1"));
    EXPECT_EQ(c.reply(), accepted());
    c.send(Frame(wire::kTaskCount).bytes());
    c.reply();
    c.send(getTask(1));
    c.reply();
    std::vector<uint8_t> rows, packet(wire::kBufferSize);
    wire::Row r(2);
    r[0].text = "D";
    r[1].number = 4;
    wire::appendUploadRow(items().fields, r, rows);
    const wire::Deflated d =
        wire::buildUploadPacket(rows.data(), rows.size(), 1, packet.data(), packet.size(), wire::Order::Big);
    packet.resize(d.size);
    c.send(deviceFrame(packet));
    EXPECT_EQ(c.reply(), (Bytes{0, 1, 13}));
    c.send(Frame(wire::kGoodbye).bytes());
    EXPECT_TRUE(c.closedByServer());
  }
  std::vector<std::string> stale{"ITEMS"};
  for (int waited = 0; waited < 10000 && !stale.empty(); waited += 20) {
    usleep(20000);
    ASSERT_TRUE(direct->downloadsToBuild(wire::Order::Big, stale, error)) << error;
  }
  EXPECT_TRUE(stale.empty());
  // ... and the second server sends instead of the one it holds.
  EXPECT_EQ(firstDownload(second.port(), "joe", "dev3"),
            (std::map<std::string, double>{{"A", 99}, {"B", 99}, {"C", 99}, {"D", 4}}));
  // The device that got the kept download holds its version: it receives
  // what came after it, not the rows changed under that version.
  std::vector<server::Task> next;
  ASSERT_TRUE(direct->buildTasks("joe", "dev2", next, error)) << error;
  ASSERT_FALSE(next.empty());
  EXPECT_EQ(next.back().table, "ITEMS");
  EXPECT_EQ(next.back().mode, 'P');
  EXPECT_EQ(next.back().count, 1);
}

INSTANTIATE_TEST_SUITE_P(Backends, KeptDownloadTest, ::testing::Values("sqlite", "postgres"));

TEST(ServerProcessTest, RefusesADatabaseItCannotOpen) {
  ServerProcess server;
  std::string out;
  const std::string command = std::string(ZELTASYNCD) + " --db " + server.dir() + "/missing/dir/sync.db 2>&1";
  FILE* p = popen(command.c_str(), "r");
  char text[512] = {0};
  fread(text, 1, sizeof text - 1, p);
  EXPECT_EQ(WEXITSTATUS(pclose(p)), 1);
  EXPECT_NE(std::string(text).find("cannot open"), std::string::npos) << text;
}

}  // namespace
