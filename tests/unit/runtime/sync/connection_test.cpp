// The client's connection and online session: against the real zeltasyncd
// for login, refusal, versions, keep-alive and goodbye; against a scripted
// fake server for the fields of the login request, the framing limits, the
// read time-outs and the task list.
#include "sync_fixture.h"

#include <chrono>

#include "connection.h"
#include "server_process.h"
#include "session.h"
#include "status.h"
#include "zeltanet.h"
#include "zeltarpc.h"

namespace {

using Clock = std::chrono::steady_clock;

int runSync(int port, const char* user = "joe", const char* device = "dev1", int timeout = 20) {
  return DoSync("127.0.0.1", port, user, "PALM", device, timeout, nullptr, nullptr, nullptr, nullptr);
}

class RealServerTest : public SyncTest {
 protected:
  void SetUp() override {
    SyncTest::SetUp();
    ASSERT_EQ(server.admin({"add-user", "joe", "dev1"}), 0);
  }
  ServerProcess server;
};

TEST_F(RealServerTest, LoginTaskCountAndGoodbye) {
  ASSERT_TRUE(server.start());
  EXPECT_EQ(runSync(server.port()), 0);
  EXPECT_TRUE(logged("qtd_tasks=0"));
  EXPECT_TRUE(stateShown("Autenticando..."));
  EXPECT_TRUE(stateShown("Send Bye"));
  EXPECT_EQ(sync::state().stateText, "Desconectado");
  EXPECT_EQ(sync::state().net->socket, -1);
  EXPECT_TRUE(seen().boxes.empty());
  EXPECT_NE(server.waitForSessions(1).find("user=joe device=dev1 address=127.0.0.1:"), std::string::npos);
  EXPECT_NE(server.log().find("result=ok requests=3"), std::string::npos) << server.log();
}

TEST_F(RealServerTest, UnknownUserIsRefusedWithTheServersText) {
  ASSERT_TRUE(server.start());
  EXPECT_EQ(runSync(server.port(), "bob"), sync::kStatusUserRefused);
  ASSERT_EQ(seen().boxes.size(), 1u);
  EXPECT_EQ(seen().boxes[0], "Alert: The user bob on device dev1 is not registered with this server.");
  EXPECT_TRUE(stateShown("Usuário não Autorizado!"));
  EXPECT_EQ(sync::state().stateText, "Desconectado");  // a failed login ends the session there
  EXPECT_NE(server.waitForSessions(1).find("result=refused"), std::string::npos);
}

TEST_F(RealServerTest, ServerOfAnotherVersionIsRefused) {
  ASSERT_TRUE(server.start({"--announce-version", "6.0.1"}));
  EXPECT_EQ(runSync(server.port()), sync::kStatusVersionDiffers);
  EXPECT_TRUE(stateShown("Versão Incompatível: Client 6.0.0 / Server 6.0.1."));
  // The device ends without a goodbye: the server sees the connection close.
  EXPECT_NE(server.waitForSessions(1).find("result=closed"), std::string::npos) << server.log();
}

TEST_F(RealServerTest, EmptyServerVersionIsAccepted) {
  ASSERT_TRUE(server.start({"--announce-version", ""}));
  EXPECT_EQ(runSync(server.port()), 0);
}

TEST_F(RealServerTest, KeepAliveOnTheServerConnection) {
  ASSERT_TRUE(server.start());
  sync::NetBlock& n = *sync::netBlock();
  EXPECT_EQ(SendAlive(), 0);  // no server connection yet
  EXPECT_EQ(__GetConnServer()->objType, static_cast<uint32_t>(T_NIL));
  sync::LoginArgs args{"127.0.0.1", server.port(), "joe", "dev1", true, false};
  ASSERT_TRUE(sync::login(n, args, n.rpcSocket));
  EXPECT_EQ(n.loginFlag, 1);
  EXPECT_EQ(n.serverFlag, 1);
  EXPECT_EQ(SendAlive(), 1);
  EXPECT_EQ(SendAlive(), 1);
  EXPECT_EQ(__GetConnServer()->objData.dValue, n.rpcSocket);
  server.stop();
  EXPECT_EQ(SendAlive(), 0);  // the server went away: no reply, no hang
}

TEST_F(RealServerTest, GoodbyeAfterAFailedSessionIsNotSentAndTheCloseEndsTheWait) {
  ASSERT_TRUE(server.start());
  sync::state().timing.secondMs = 1000;  // a wait of five real seconds, were it made in full
  sync::NetBlock& n = *sync::netBlock();
  sync::LoginArgs args{"127.0.0.1", server.port(), "joe", "dev1", false, false};
  ASSERT_TRUE(sync::login(n, args, n.socket));
  n.status = sync::kStatusTaskCountNotRead;
  const Clock::time_point start = Clock::now();
  sync::goodbye(n, n.socket);
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  EXPECT_LT(ms, 4000);  // the server saw the device's end and closed its own
  EXPECT_EQ(n.socket, -1);
  EXPECT_FALSE(stateShown("Send Bye"));
  EXPECT_EQ(n.status, sync::kStatusTaskCountNotRead);
  EXPECT_NE(server.waitForSessions(1).find("result=closed requests=1"), std::string::npos) << server.log();
}

TEST_F(RealServerTest, GoodbyeEndsWhenTheServerHasRecordedTheSession) {
  ASSERT_TRUE(server.start());
  sync::state().timing.secondMs = 1000;
  const Clock::time_point start = Clock::now();
  EXPECT_EQ(runSync(server.port()), 0);
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  EXPECT_LT(ms, 4000);
  // The server closes only once the session is written down.
  EXPECT_NE(server.log().find("result=ok"), std::string::npos) << server.log();
}

TEST_F(SyncTest, GoodbyeWaitFollowsTheTimeOutWhenTheServerKeepsTheConnection) {
  // time-out / 5 between 5 and 8 is the wait; anything else waits 5.
  const struct { int timeout, seconds; } cases[] = {{20, 5}, {30, 6}, {40, 8}, {45, 5}, {120, 5}};
  for (const auto& c : cases) {
    FakeServer fake([](FakeServer& f) {
      f.request();  // the goodbye; then the connection is held open
      usleep(600 * 1000);
    });
    sync::NetBlock& n = *sync::netBlock();
    n.timeout = c.timeout;
    n.status = 0;
    ASSERT_TRUE(sync::connectSocket(n, "127.0.0.1", fake.port(), n.socket));
    const Clock::time_point start = Clock::now();
    sync::goodbye(n, n.socket);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    EXPECT_GE(ms, c.seconds * 20) << c.timeout;
    EXPECT_LT(ms, (c.seconds + 1) * 20 + 300) << c.timeout;
    fake.join();
    ASSERT_EQ(fake.requests.size(), 1u);
    EXPECT_EQ(fake.requests[0].size(), 3u) << c.timeout;  // the goodbye's kept bytes and its command
  }
}

TEST_F(SyncTest, NothingListeningFailsTheConnection) {
  int port;
  {
    FakeServer unused([](FakeServer&) {});
    port = unused.port();
  }  // closed: nothing listens there now
  EXPECT_EQ(runSync(port), sync::kStatusConnectFailed);
  EXPECT_TRUE(stateShown("Erro conectando ao servidor."));
  EXPECT_TRUE(stateShown("Erro conexão 127.0.0.1 port=" + std::to_string(port)));
  EXPECT_EQ(runSync(1, "joe", "dev1"), sync::kStatusConnectFailed);
}

TEST_F(SyncTest, UnresolvableHostFailsTheConnection) {
  EXPECT_EQ(DoSync("no-such-host.invalid", 8025, "joe", "PALM", "dev1", 20, nullptr, nullptr, nullptr, nullptr),
            sync::kStatusConnectFailed);
}

// Splits a login payload into its fields as the server reads them.
std::vector<std::string> loginFields(const Bytes& p, size_t& at) {
  std::vector<std::string> fields;
  auto str = [&]() {
    std::string s;
    while (at < p.size() && p[at]) s += static_cast<char>(p[at++]);
    ++at;
    fields.push_back(s);
  };
  auto byte = [&]() { fields.push_back(std::to_string(at < p.size() ? p[at++] : -1)); };
  for (int i = 0; i < 4; ++i) str();  // order, "33", device, user
  byte();                             // processor
  byte();                             // sync kind
  for (int i = 0; i < 7; ++i) str();  // version, "", zlib, "SETBUFFER", application, rpc, adm
  return fields;
}

TEST_F(SyncTest, LoginRequestCarriesEveryFieldInOrder) {
  Bytes header, payload;
  FakeServer fake([&](FakeServer& f) {
    f.readRequest(header, payload);
    f.reply(acceptedBody());
    f.request();  // task count
    f.reply(text("0"));
    f.request();  // goodbye
  });
  EXPECT_EQ(runSync(fake.port(), "maria", "PALM-7"), 0);
  fake.join();
  ASSERT_EQ(header.size(), 3u);
  EXPECT_EQ(header[0], 'B');
  EXPECT_EQ(static_cast<size_t>(header[1] << 8 | header[2]), payload.size());
  ASSERT_GE(payload.size(), 3u);
  EXPECT_EQ(payload[0], 0);
  EXPECT_EQ(payload[1], 1);
  EXPECT_EQ(payload[2], 1);
  size_t at = 3;
  const std::vector<std::string> expected = {"B", "33",     "PALM-7",    "maria", "7",       "84" /* 'T' */, "6.0.0",
                                             "",  "ZLIBON", "SETBUFFER", "0",     "RPC_OFF", "ADM_OFF"};
  EXPECT_EQ(loginFields(payload, at), expected);
  EXPECT_EQ(at, payload.size());
  ASSERT_EQ(fake.requests.size(), 2u);
  EXPECT_EQ(fake.requests[0], (Bytes{0, 1, 7}));
  EXPECT_EQ(fake.requests[1], (Bytes{0, 1, 2}));
  EXPECT_TRUE(fake.closedByDevice_);
}

TEST_F(SyncTest, AdministratorLoginAddsItsId) {
  Bytes header, payload;
  FakeServer fake([&](FakeServer& f) {
    f.readRequest(header, payload);
    f.reply(acceptedBody());
  });
  sync::NetBlock& n = *sync::netBlock();
  n.adminId = 0x0A0B0C0D;
  sync::LoginArgs args{"127.0.0.1", fake.port(), "root", "pc", true, true};
  ASSERT_TRUE(sync::login(n, args, n.rpcSocket));
  fake.join();
  size_t at = 3;
  const std::vector<std::string> fields = loginFields(payload, at);
  EXPECT_EQ(fields[11], "RPC_ON");
  EXPECT_EQ(fields[12], "ADM_ON");
  ASSERT_EQ(payload.size(), at + 4);
  EXPECT_EQ(Bytes(payload.begin() + static_cast<long>(at), payload.end()), (Bytes{0x0A, 0x0B, 0x0C, 0x0D}));
}

TEST_F(SyncTest, ReplyLongerThanTheLimitIsRefusedWithoutReadingIt) {
  FakeServer fake([](FakeServer& f) {
    f.request();
    Bytes frame = {0x2E, 0xE1};  // 12001
    frame.resize(2 + 12001, 'x');
    f.raw(frame);
  });
  EXPECT_EQ(runSync(fake.port()), sync::kStatusLoginNotRead);
  ASSERT_EQ(seen().boxes.size(), 1u);
  EXPECT_EQ(seen().boxes[0], "Alert: falhou xbuff");
  EXPECT_EQ(sync::state().net->received, 2);  // the length, not the payload
  EXPECT_TRUE(stateShown("Interrupção por time-out."));
}

TEST_F(SyncTest, ReplyOfExactlyTheLimitIsRead) {
  FakeServer fake([](FakeServer& f) {
    f.request();
    Bytes body = acceptedBody();
    body.resize(12000 - 2, 0);
    f.reply(body);
    f.request();
    f.reply(text("0"));
    f.request();
  });
  EXPECT_EQ(runSync(fake.port()), 0);
  EXPECT_TRUE(seen().boxes.empty());
}

TEST_F(SyncTest, ReadWaitsInSlicesOfTheTimeOut) {
  // 20 seconds: one 30-second slice; 60: three; 119: four.
  const struct { int timeout, slices; } cases[] = {{20, 1}, {60, 3}, {119, 4}};
  for (const auto& c : cases) {
    FakeServer silent([](FakeServer& f) { f.request(); });
    sync::state().net = nullptr;
    sync::netBlock();
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(runSync(silent.port(), "joe", "dev1", c.timeout), sync::kStatusLoginNotRead);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    EXPECT_EQ(sync::state().lastSlices, c.slices) << c.timeout;
    EXPECT_GE(ms, c.slices * sync::state().timing.sliceMs) << c.timeout;
    silent.join();
    sync::freeNetBlock();
  }
}

TEST_F(SyncTest, PacketCutShortEndsWithinTheTimeOut) {
  FakeServer fake([](FakeServer& f) {
    f.request();
    f.raw(Bytes{0, 40, 0, 1, 13});  // 40 bytes announced, 3 sent, then silence
    f.waitClosed();
  });
  const Clock::time_point start = Clock::now();
  EXPECT_EQ(runSync(fake.port()), sync::kStatusLoginNotRead);
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  EXPECT_LT(ms, 2000);
  EXPECT_EQ(sync::state().net->busy, 1);
}

TEST_F(SyncTest, KeptBytesAreNeverRead) {
  FakeServer fake([](FakeServer& f) {
    f.request();
    f.reply(acceptedBody(), 0xFF, 0xEE);
    f.request();
    f.reply(text("2"), '9', '9');
    for (int i = 0; i < 2; ++i) {
      f.request();
      f.reply(Bytes{13, 30, 0} + text("clients"), 13, 13);  // a task of type 30
    }
    f.request();
  });
  EXPECT_EQ(runSync(fake.port()), 0);
  fake.join();
  EXPECT_TRUE(logged("qtd_tasks=2"));
  EXPECT_TRUE(logged("Executando tarefa 2."));
  ASSERT_EQ(fake.requests.size(), 5u);
  EXPECT_EQ(fake.requests[2], (Bytes{0, 1, 8, '1', 0}));
  EXPECT_EQ(fake.requests[3], (Bytes{0, 1, 8, '2', 0}));
}

TEST_F(SyncTest, ShortRefusalShowsOnlyTheMessage) {
  const struct {
    std::string text;
    size_t boxes;
  } cases[] = {{"0123456789", 0}, {"0123456789ABCDE", 0}, {"0123456789ABCDEF", 1}, {"", 0}};
  for (const auto& c : cases) {
    seen().boxes.clear();
    FakeServer fake([&](FakeServer& f) {
      f.request();
      f.reply(Bytes{4} + text(c.text));
    });
    EXPECT_EQ(runSync(fake.port()), sync::kStatusUserRefused);
    EXPECT_TRUE(stateShown("Usuário não Autorizado!"));
    EXPECT_EQ(seen().boxes.size(), c.boxes) << c.text;
  }
}

TEST_F(SyncTest, TaskListOutcomes) {
  const struct {
    const char* name;
    Bytes task;  // reply to task 1
    double filter;
    int status;
    const char* line;
  } cases[] = {
      {"nothing to do", Bytes{13, 30, 0} + text("t"), 0, 0, "Executando tarefa 1."},
      {"refused", Bytes{5}, 0, sync::kStatusTaskRefused, "\\nTask = 1 OP=5"},
      {"unknown type", Bytes{13, 77, 0} + text("t"), 0, sync::kStatusBadTaskType, "Task type 77 invalid."},
      {"flag 2 skips", Bytes{13, 77, 2} + text("t"), 0, 0, "Executando tarefa 1."},
      {"filtered out", Bytes{13, 77, 0} + text("t"), 2, 0, "Executando tarefa 1."},
      {"cut short", Bytes{13, 1, 0} + text("t") + Bytes{0, 0}, 0, sync::kStatusTaskNotRead, "Executando tarefa 1."},
  };
  for (const auto& c : cases) {
    sync::state().recentLog.clear();
    FakeServer fake([&](FakeServer& f) {
      f.request();
      f.reply(acceptedBody());
      f.request();
      f.reply(text("1"));
      f.request();
      f.reply(c.task);
      f.request();
    });
    sync::NetBlock& n = *sync::netBlock();
    n.taskFilter = sync::taskFilterOf(c.filter);
    EXPECT_EQ(runSync(fake.port()), c.status) << c.name;
    EXPECT_TRUE(logged(c.line)) << c.name;
    if (c.status) {
      EXPECT_TRUE(logged("TaskExecute: Erro=" + std::to_string(c.status))) << c.name;
    }
  }
}

TEST_F(SyncTest, TaskCountThatIsNotANumber) {
  for (const Bytes& reply : {text("abc"), text(""), text("-1"), Bytes{}}) {
    FakeServer fake([&](FakeServer& f) {
      f.request();
      f.reply(acceptedBody());
      f.request();
      f.reply(reply);
    });
    EXPECT_EQ(runSync(fake.port()), sync::kStatusTaskCountNotRead);
  }
}

TEST_F(SyncTest, ServerThatHangsUpAfterTheLogin) {
  FakeServer fake([](FakeServer& f) {
    f.request();
    f.reply(acceptedBody());
    f.closeNow();
  });
  // The request may still go out before the close reaches the device.
  const int status = runSync(fake.port());
  EXPECT_TRUE(status == sync::kStatusTaskCountNotSent || status == sync::kStatusTaskCountNotRead) << status;
}

TEST_F(SyncTest, DoSyncChecksItsArguments) {
  pObj_Node t = __INIT_CHARPTR("T"), h = __INIT_CHARPTR("127.0.0.1"), p = __INIT_DOUBLE(1), o = __INIT_DOUBLE(20),
            u = __INIT_CHARPTR("joe"), d = __INIT_CHARPTR("dev1");
  EXPECT_EQ(errorOf([&] { __DoSync(p, h, p, o, u, d, nullptr); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([&] { __DoSync(t, h, h, o, u, d, nullptr); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([&] { __DoSync(t, h, p, o, nullptr, d, nullptr); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([&] { __DoSync(t, h, p, o, u, d, u); }), ARGUMENT_ERROR);
}

TEST_F(SyncTest, DoSyncStoresItsArgumentsAndFreesTheBlock) {
  Bytes payload, header;
  FakeServer fake([&](FakeServer& f) {
    f.readRequest(header, payload);
    f.reply(acceptedBody());
    f.request();
    f.reply(text("0"));
    f.request();
  });
  pObj_Node status = __DoSync(__INIT_CHARPTR("Tcp"), __INIT_CHARPTR("127.0.0.1"), __INIT_DOUBLE(fake.port()),
                              __INIT_DOUBLE(500), __INIT_DOUBLE(42), __INIT_CHARPTR("dev1"), __INIT_DOUBLE(2));
  EXPECT_EQ(status->objData.dValue, 0);
  EXPECT_EQ(sync::state().net, nullptr);
  fake.join();
  size_t at = 3;
  EXPECT_EQ(loginFields(payload, at)[3], "42");  // a number's text is the user
}

TEST(TaskFilter, MapsToTheTypeThatRuns) {
  EXPECT_EQ(sync::taskFilterOf(1), 10);
  EXPECT_EQ(sync::taskFilterOf(2), 1);
  EXPECT_EQ(sync::taskFilterOf(3), 2);
  EXPECT_EQ(sync::taskFilterOf(0), 0);
  EXPECT_EQ(sync::taskFilterOf(4), 0);
}

TEST_F(SyncTest, PacketBufferWritersStopAtTheLargestPayload) {
  Reset();
  std::vector<uint8_t> big(11990, 'a');
  EXPECT_EQ(WriteBuffer(big.data(), static_cast<int>(big.size())), 1);
  EXPECT_EQ(sync::state().net->position, 11991);
  EXPECT_EQ(WriteString("0123456789"), 0);  // 11991 + 11 > 12000
  EXPECT_EQ(WriteByte(1), 0);               // refused until the next Reset
  EXPECT_EQ(sync::writeExact(*sync::state().net, -1, sync::state().net->packet, 10, true), 0);
  Reset();
  EXPECT_EQ(WriteByte(1), 1);
  EXPECT_EQ(WriteUShort(0x0203), 1);
  EXPECT_EQ(WriteInt(-5), 1);
  const uint8_t* p = sync::state().net->packet;
  EXPECT_EQ(p[0], 1);
  EXPECT_EQ(p[1], 2);  // most significant byte first
  EXPECT_EQ(p[3], 0xFF);
  EXPECT_EQ(errorOf([] { WriteString(nullptr); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([] { WriteBuffer(nullptr, 3); }), ARGUMENT_ERROR);
}

TEST_F(SyncTest, PacketBufferReadersStopAtThePacketsEnd) {
  sync::NetBlock& n = *sync::netBlock();
  const uint8_t packet[] = {0xAA, 0xBB, 0x00, 0x00, 0x00, 0x07, 0x01, 0x02, 'o', 'k', 0, 'x', 'y'};
  memcpy(n.packet, packet, sizeof packet);
  n.packet[sizeof packet] = 0;
  n.received = sizeof packet;
  n.position = 2;
  EXPECT_EQ(ReadInt(), 7);
  EXPECT_EQ(ReadShort(), 0x0102);
  EXPECT_STREQ(ReadString(), "ok");
  EXPECT_STREQ(ReadString(), "xy");  // runs to the end of the packet
  EXPECT_EQ(ReadByte(), 0);
  EXPECT_STREQ(ReadString(), "");
  EXPECT_EQ(n.position, static_cast<int32_t>(sizeof packet));
}

}  // namespace
