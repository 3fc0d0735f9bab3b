// The RPC calls of a program against a scripted server: what goes out for
// each call (the named call without parameters, statements the device does
// not send), result sets read into a local table, a head of 501 fields and
// a server error refused, and the keep-alive of timer 615.
// The fixture comes first: it keeps unistd.h's sync() out of the way.
#include "sync_fixture.h"
// clang-format off
#include <zlib.h>
// clang-format on

#include "rpc_packets.h"
#include "store.h"
#include "sync_tables.h"
#include "zeltardd.h"
#include "zeltarpc.h"

namespace ui {
void fireProcessTimer(uint16_t id);
}  // namespace ui

namespace {

class RpcClientTest : public SyncTest {
 protected:
  void profile(int port) {
    ASSERT_TRUE(sync::writeProfile({"127.0.0.1", "joe", "PALM", "dev1", std::to_string(port), "20"}));
  }
  // Logs in on the fake server's side.
  static void acceptLogin(FakeServer& f) {
    f.request();
    f.reply(acceptedBody());
  }
  static std::string textOf(pObj_Node v) { return v && v->objData.mbuff ? v->objData.mbuff : ""; }
};

// The texts of a command-5 request, inflated.
std::vector<std::string> callTexts(const Bytes& p) {
  const size_t n = static_cast<size_t>(p[4] << 8 | p[5]);
  std::vector<uint8_t> plain;
  if (!wire::inflateFlushed(p.data() + 6, n, plain, 65536)) plain.assign(p.begin() + 6, p.begin() + 6 + n);
  return wire::splitTexts(plain.data(), plain.size());
}

Bytes resultHead(int fields) {
  Bytes b = {'$', static_cast<uint8_t>(fields >> 8), static_cast<uint8_t>(fields)};
  for (int i = 0; i < fields; ++i)
    b = b + text(i == 0 ? "CODE" : "F" + std::to_string(i)) + text("C") + Bytes{0, 4, 0, 0};
  return b + Bytes{0, 0, 0, 2};
}

// A download packet of rows of one C 4 field.
Bytes rowsPacket(const std::vector<std::string>& codes) {
  Bytes rows;
  for (const std::string& c : codes) {
    Bytes record(c.begin(), c.end());
    record.push_back(0);
    const size_t length = record.size() + 3;
    rows = rows + Bytes{static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length), 1} + record;
  }
  Bytes z(compressBound(rows.size()));
  uLongf size = z.size();
  compress2(z.data(), &size, rows.data(), rows.size(), 9);
  z.resize(size);
  const size_t packet = 10 + z.size();
  return Bytes{12,
               14,
               static_cast<uint8_t>(packet >> 8),
               static_cast<uint8_t>(packet),
               0,
               static_cast<uint8_t>(codes.size()),
               static_cast<uint8_t>(rows.size() >> 8),
               static_cast<uint8_t>(rows.size())} +
         z;
}

TEST_F(RpcClientTest, CallsSendTheirTextsAndReturnTheReply) {
  FakeServer fake([](FakeServer& f) {
    acceptLogin(f);
    f.request();
    f.reply(Bytes{13} + text("first"));
    f.request();
    f.reply(Bytes{13} + text("second"));
    f.request();
    f.reply(Bytes{0} + text("no such function"));
  });
  profile(fake.port());
  const double socket = __ConnServer()->objData.dValue;
  ASSERT_GT(socket, 0);
  EXPECT_EQ(__GetConnServer()->objData.dValue, socket);
  pObj_Node s = __INIT_DOUBLE(socket);
  EXPECT_EQ(textOf(__ExecRPMarhold(s, __INIT_CHARPTR("sum"))), "first");
  EXPECT_EQ(textOf(__ExecRPCGen(s, __INIT_CHARPTR("f"), __INIT_CHARPTR("a"), __INIT_CHARPTR("b"))), "second");
  EXPECT_EQ(textOf(__ExecRPMarhold(s, __INIT_CHARPTR("gone"), __INIT_CHARPTR("x=1"))), "Erro Executando RPC!");
  // Sent nothing: another socket, no socket, no function, a delete, the select form.
  EXPECT_EQ(textOf(__ExecRPCGen(__INIT_DOUBLE(socket + 7), __INIT_CHARPTR("f"))), "Erro Executando RPC!");
  EXPECT_NE(textOf(__ExecRPMarhold(__INIT_DOUBLE(0), __INIT_CHARPTR("f"))).find("Socket"), std::string::npos);
  EXPECT_NE(textOf(__ExecRPMarhold(s, __INIT_CHARPTR(""))), "Erro Executando RPC!");
  EXPECT_EQ(textOf(__ExecRPCQuery(s, __INIT_CHARPTR("delete from clients"))), "Erro Executando RPC!");
  EXPECT_EQ(textOf(__ExecRPCSelect(s, __INIT_CHARPTR("select * from x"))), "Erro Executando RPC!");
  EXPECT_EQ(errorOf([&] { __ExecRPCGen(__INIT_CHARPTR("1"), __INIT_CHARPTR("f")); }), ARGUMENT_ERROR);
  __DisConnServer(s);
  EXPECT_EQ(__GetConnServer()->objType, static_cast<uint32_t>(T_NIL));
  fake.join();

  ASSERT_EQ(fake.requests.size(), 4u);  // login, three calls; then the goodbye
  ASSERT_GE(fake.extra.size(), 6u);
  EXPECT_EQ(fake.extra[5], 2);
  const std::vector<std::string> named = callTexts(fake.requests[1]);
  EXPECT_EQ(fake.requests[1][3], '1');
  EXPECT_EQ(named, (std::vector<std::string>{"dev1", "sum", "__NOPARAM__"}));
  EXPECT_EQ(fake.requests[2][3], '2');
  EXPECT_EQ(callTexts(fake.requests[2]), (std::vector<std::string>{"f", "a", "b"}));
  EXPECT_EQ(callTexts(fake.requests[3]), (std::vector<std::string>{"dev1", "gone", "x=1"}));
}

TEST_F(RpcClientTest, ResultSetsBecomeTheAliasTableAndBadOnesAreRefused) {
  FakeServer fake([](FakeServer& f) {
    acceptLogin(f);
    f.request();  // a select: two rows in two packets
    f.reply(resultHead(1));
    f.reply(rowsPacket({"A1"}));
    f.reply(rowsPacket({"B2"}));
    f.reply(Bytes{11, 0});
    f.request();  // 501 fields, then the rest of its stream
    f.reply(resultHead(501));
    f.reply(rowsPacket({"X"}));
    f.reply(Bytes{11, 0});
    f.request();  // a server error inside the stream
    f.reply(resultHead(1));
    f.reply(Bytes{255, 0} + text("disk full"));
    f.request();  // an update, refused
    f.reply(Bytes{0} + text("refused: not allowed"));
    f.request();  // an update
    f.reply(Bytes{13} + text("1"));
  });
  profile(fake.port());
  pObj_Node s = __INIT_DOUBLE(__ConnServer()->objData.dValue);
  EXPECT_EQ(textOf(__ExecRPCQuery(s, __INIT_CHARPTR("SELECT code FROM t"), __INIT_CHARPTR("GOT"))), "EXEC=OK");
  EXPECT_EQ(__TBL_RecCount(__INIT_CHARPTR("GOT"))->objData.dValue, 2);
  EXPECT_EQ(textOf(__ExecRPCQuery(s, __INIT_CHARPTR("select * from wide"), __INIT_CHARPTR("WIDE"))), "EXEC=NOK");
  EXPECT_EQ(data::DmFindDatabase(0, "WIDE"), 0u);
  EXPECT_EQ(textOf(__ExecRPCQuery(s, __INIT_CHARPTR("select code from t"))), "EXEC=NOK");
  EXPECT_EQ(sync::state().net->status, 1074);
  EXPECT_EQ(textOf(__ExecRPCQuery(s, __INIT_CHARPTR("update t set code = 1"))), "EXEC=NOK");
  EXPECT_EQ(textOf(__ExecRPCQuery(s, __INIT_CHARPTR("Update t set code = 2"))), "EXEC=OK");
  __DisConnServer(s);
  fake.join();
  ASSERT_GE(fake.requests.size(), 6u);
  EXPECT_EQ(fake.requests[1][2], 0x24);
  EXPECT_EQ(fake.requests[4][2], 0x21);
}

TEST_F(RpcClientTest, TimerTicksSendTheKeepAliveOnlyWhenTheConnectionIsIdle) {
  FakeServer fake([](FakeServer& f) {
    acceptLogin(f);
    f.request();
    f.reply(Bytes{13});
  });
  profile(fake.port());
  pObj_Node s = __INIT_DOUBLE(__ConnServer()->objData.dValue);
  sync::state().net->rpcBusy = true;
  ui::fireProcessTimer(615);  // a call is running: nothing goes out
  sync::state().net->rpcBusy = false;
  ui::fireProcessTimer(615);
  __DisConnServer(s);
  ui::fireProcessTimer(615);  // disconnected: nothing
  fake.join();
  ASSERT_EQ(fake.requests.size(), 2u);
  EXPECT_EQ(fake.requests[1][2], 0xAF);
  ASSERT_EQ(fake.extra.size(), 6u);  // the goodbye, and no keep-alive after it
  EXPECT_EQ(fake.extra[5], 2);
}

}  // namespace
