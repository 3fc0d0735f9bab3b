// zeltasyncd: the conversation fed frames directly (against an in-memory
// store), the session log, the command line and the admin commands; then
// the real server process, holding its cap on connections and its time-out
// while it goes on serving.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

#include "admin.h"
#include "command_line.h"
#include "conversation.h"
#include "framing.h"
#include "protocol.h"
#include "server_process.h"
#include "session_log.h"
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
    store = server::openSqliteStore(":memory:", error);
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

TEST(SessionLog, QuotesWhatCameFromTheNetwork) {
  std::string error;
  auto store = server::openSqliteStore(":memory:", error);
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
  auto store = server::openSqliteStore(":memory:", error);
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
  ASSERT_TRUE(server.start({"--max-connections", "2"}));
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
