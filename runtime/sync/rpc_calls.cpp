// The kept server connection and the calls made on it: __ConnServer and
// __DisConnServer with the keep-alive timer, the server functions
// (__ExecRPCGen, __ExecRPMarhold) and the queries (__ExecRPCQuery,
// __ExecRPCXml, __ExecRPCSelect). The requests are drawn in
// wire/rpc_packets.h; result sets are read by DumpQuery (rpc_query.cpp).
//
// A call names its socket, and only the kept RPC socket is used: any other
// number gets the default result, never a write to a descriptor the program
// made up.
#include <ctype.h>
#include <string.h>

#include <algorithm>
#include <string>

#include "arguments.h"
#include "compression.h"
#include "connection.h"
#include "core.h"
#include "framing.h"
#include "messages.h"
#include "report.h"
#include "rpc_link.h"
#include "protocol.h"
#include "rpc_packets.h"
#include "status.h"
#include "sync_tables.h"
#include "zeltardd.h"
#include "zeltarpc.h"
#include "zeltaui.h"

namespace ui {
// The keep-alive that timer 615 sends (runtime/ui/timers.h).
void setKeepAlive(void (*keepAlive)());
}  // namespace ui

namespace sync {

namespace {

// Timer 615's tick: a keep-alive when the connection is idle.
void keepAliveTick() {
  NetBlock* n = state().net;
  if (!n || n->rpcSocket < 0 || n->rpcBusy || n->busy) return;
  SendAlive();
}

std::string lowerPrefix(std::string_view text, size_t n) {
  std::string head(text.substr(0, n));
  for (char& c : head) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return head;
}

// A text argument that may be left out: "" then.
std::string optionalText(pObj_Node v) {
  if (!core::isGiven(v)) return std::string();
  return std::string(core::checkText(v));
}

}  // namespace

NetBlock* rpcBlock(pObj_Node socket) {
  if (!core::isType(socket, T_DOUBLE)) __RuntimeError(ARGUMENT_ERROR, -1);
  NetBlock* n = state().net;
  if (!n || n->rpcSocket < 0 || core::toWhole(socket->objData.dValue) != n->rpcSocket) return nullptr;
  return n;
}

bool rpcExchange(NetBlock& n, const wire::PacketWriter& w) {
  RpcBusy busy(n);
  n.status = kStatusNone;
  if (!sendRequest(n, n.rpcSocket, w)) return false;
  return readPacket(n, n.rpcSocket) == 1;
}

int openRpcConnection(bool admin, int32_t adminId) {
  NetBlock* block = netBlock();
  if (!block) __RuntimeError(LOW_MEMORY, -1);
  NetBlock& n = *block;
  if (n.rpcSocket >= 0) return n.rpcSocket;
  std::string host, user, deviceType, deviceId;
  int port = 0, timeout = 0;
  if (!readProfile(host, user, deviceType, deviceId, port, timeout)) {
    logf("RPC: no connection profile in CAD_USER.");
    return 0;
  }
  n.status = kStatusNone;
  n.maxPacket = wire::kMaxPayload;
  n.timeout = std::min(std::max(timeout, 1), 120);
  n.host = host;
  n.port = port;
  n.user = user;
  n.device = deviceId;
  n.adminId = adminId;
  LoginArgs args;
  args.host = host;
  args.port = port;
  args.user = user;
  args.device = deviceId;
  args.rpc = true;
  args.admin = admin;
  int32_t socket = -1;
  if (!login(n, args, socket)) return 0;
  n.rpcSocket = socket;
  ui::setKeepAlive(keepAliveTick);
  ativartemporizador();
  return socket;
}

void closeRpcConnection(bool sayGoodbye) {
  desativartemporizador();
  NetBlock* n = state().net;
  if (n && n->rpcSocket >= 0) {
    if (sayGoodbye) {
      int32_t socket = n->rpcSocket;
      goodbye(*n, socket);
    }
    n->rpcSocket = -1;
  }
  freeNetBlock();
  state().config = SyncConfig();
  __CloseMsgLog();
}

std::string rpcDefault() { return kRpcDefault; }

// Command 5: the texts deflated (or plain when they do not compress), the
// reply text after status 13.
std::string callServer(NetBlock& n, uint8_t kind, const std::vector<std::string>& texts) {
  std::string block;
  for (const std::string& t : texts) {
    block += t;
    block += '\0';
  }
  const wire::Deflated d = deflateRpcPayload(n, reinterpret_cast<const uint8_t*>(block.data()), block.size());
  const uint8_t* data = reinterpret_cast<const uint8_t*>(block.data());
  size_t size = block.size();
  if (d.status == wire::DeflateStatus::Ok) {
    data = n.compression;
    size = d.size;
  }
  if (size > 0xFFFF) return kRpcDefault;
  wire::PacketWriter w = beginRequest(n, wire::kRpcCall);
  w.writeByte(kind);
  w.writeUShort(static_cast<uint16_t>(size));
  w.writeBuffer(data, size);
  if (!rpcExchange(n, w)) return kRpcDefault;
  wire::PacketReader r = replyReader(n);
  if (r.readByte() != wire::kReplyOk) return kRpcDefault;
  return std::string(r.readString());
}

}  // namespace sync

using namespace sync;

pObj_Node __ConnServer() { return __INIT_DOUBLE(openRpcConnection(false, 0)); }

pObj_Node __DisConnServer(pObj_Node socket) {
  if (!core::isType(socket, T_DOUBLE)) __RuntimeError(ARGUMENT_ERROR, -1);
  NetBlock* n = state().net;
  const bool ours = n && n->rpcSocket >= 0 && core::toWhole(socket->objData.dValue) == n->rpcSocket;
  closeRpcConnection(ours && socket->objData.dValue != 0);
  return __INIT_NIL();
}

pObj_Node __ExecRPCGen(pObj_Node socket, pObj_Node first, pObj_Node second, pObj_Node third) {
  NetBlock* n = rpcBlock(socket);
  const std::string a(core::checkText(first)), b = optionalText(second), c = optionalText(third);
  if (!n) return __INIT_CHARPTR(kRpcDefault);
  return __INIT_CHARPTR(callServer(*n, wire::kCallGeneral, {a, b, c}).c_str());
}

pObj_Node __ExecRPMarhold(pObj_Node socket, pObj_Node function, pObj_Node parameters) {
  const int language = core::errorLanguage();
  if (!core::isGiven(socket) || (core::isType(socket, T_DOUBLE) && socket->objData.dValue == 0))
    return __INIT_CHARPTR(core::auxMessage(language, 131));
  if (!core::isGiven(function) || core::checkText(function).empty())
    return __INIT_CHARPTR(core::auxMessage(language, 132));
  NetBlock* n = rpcBlock(socket);
  const std::string name(core::textOf(function));
  const std::string given = core::isGiven(parameters) ? std::string(core::checkText(parameters)) : std::string();
  if (!n) return __INIT_CHARPTR(kRpcDefault);
  const std::string params = core::isGiven(parameters) ? given : std::string(wire::kNoParameters);
  return __INIT_CHARPTR(callServer(*n, wire::kCallNamed, {n->device, name, params}).c_str());
}

pObj_Node __ExecRPCQuery(pObj_Node socket, pObj_Node statement, pObj_Node alias) {
  NetBlock* n = rpcBlock(socket);
  const std::string_view text = core::checkText(statement);
  const std::string table = core::isGiven(alias) ? std::string(core::checkText(alias)) : std::string(kDefaultAlias);
  const std::string head = lowerPrefix(text, 7);
  uint8_t command = 0;
  if (head == "select ")
    command = wire::kRpcSelect;
  else if (head == "insert " || head == "update ")
    command = wire::kRpcWrite;
  if (!n || command == 0) return __INIT_CHARPTR(kRpcDefault);
  RpcBusy busy(*n);
  wire::PacketWriter w = beginRequest(*n, command);
  w.writeBuffer(text.data(), text.size());
  if (!sendRequest(*n, n->rpcSocket, w)) return __INIT_CHARPTR(kRpcDefault);
  return __INIT_CHARPTR(DumpQuery(n->rpcSocket, table.c_str()) == 0 ? "EXEC=OK" : "EXEC=NOK");
}

pObj_Node __ExecRPCSelect(pObj_Node, pObj_Node, pObj_Node) { return __INIT_CHARPTR(kRpcDefault); }

pObj_Node __ExecRPCXml(pObj_Node socket, pObj_Node xml) {
  NetBlock* n = rpcBlock(socket);
  const std::string_view text = core::checkText(xml);
  if (!n) return __INIT_CHARPTR(kRpcDefault);
  RpcBusy busy(*n);
  wire::PacketWriter w = beginRequest(*n, wire::kRpcXml);
  w.writeBuffer(text.data(), text.size());
  if (!sendRequest(*n, n->rpcSocket, w)) return __INIT_CHARPTR(kRpcDefault);
  return __INIT_CHARPTR(DumpQuery(n->rpcSocket, kDefaultAlias) == 0 ? "EXEC=OK" : "EXEC=NOK");
}
