// The administrator client (__VaskoMonitor, __VaskoMonitorExec,
// __VaskoMonitorDis) and the image upload (__SendImage) on the kept
// connection (requests drawn in wire/rpc_packets.h).
//
// An image goes out in packets of the file size, its name and one block of
// at most what a packet holds, read from the file 4,096 bytes at a time;
// each packet is answered by one status byte.
#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "arguments.h"
#include "connection.h"
#include "core.h"
#include "framing.h"
#include "host.h"
#include "report.h"
#include "rpc_link.h"
#include "protocol.h"
#include "rpc_packets.h"
#include "status.h"
#include "zeltaarray.h"
#include "zeltarpc.h"
#include "zeltaui.h"

using namespace sync;

namespace {

constexpr size_t kPiece = 4096;

bool sendImageBlock(NetBlock& n, uint32_t fileSize, const std::string& name, const std::vector<uint8_t>& block) {
  wire::PacketWriter w = beginRequest(n, wire::kRpcImage);
  w.writeUInt(fileSize);
  w.writeString(name);
  w.writeUInt(static_cast<uint32_t>(block.size()));
  w.writeBytes(block.data(), block.size());
  if (!sendRequest(n, n.rpcSocket, w)) {
    n.status = kStatusDownloadNotSent;
    return false;
  }
  if (!readPacket(n, n.rpcSocket)) {
    n.status = kStatusLoginNotRead;
    return false;
  }
  wire::PacketReader r = replyReader(n);
  if (r.readByte() != wire::kReplyOk) {
    logf("SendImage: %s", std::string(r.readString()).c_str());
    return false;
  }
  return true;
}

}  // namespace

pObj_Node __SendImage(pObj_Node name) {
  const std::string file(core::checkText(name));
  NetBlock* n = state().net;
  if (!n || n->rpcSocket < 0) {
    alert("Connection not found to send image.");
    return __INIT_BOOL(0);
  }
  const std::string path = core::appDirectory() + "/IMG/" + file;
  if (!core::host::fileExists(path)) {
    alert("Image file not found.");
    return __INIT_BOOL(0);
  }
  FILE* in = fopen(path.c_str(), "rb");
  if (!in) {
    alert("Fail to open image.");
    return __INIT_BOOL(0);
  }
  long size = -1;
  if (fseek(in, 0, SEEK_END) == 0) size = ftell(in);
  if (size <= 0 || size > 0x7FFFFFFFL || fseek(in, 0, SEEK_SET) != 0) {
    fclose(in);
    alert("Fail to get image size.");
    return __INIT_BOOL(0);
  }
  RpcBusy busy(*n);
  n->status = kStatusNone;
  // What a packet leaves for the block: lead, command, size, name, length.
  const size_t room = static_cast<size_t>(wire::kMaxPayload) - (2 + 1 + 4 + file.size() + 1 + 4);
  std::vector<uint8_t> block, piece(kPiece);
  bool ok = true;
  long sent = 0;
  while (ok) {
    const size_t got = fread(piece.data(), 1, kPiece, in);
    if (got > 0 && block.size() + got > room) {
      ok = sendImageBlock(*n, static_cast<uint32_t>(size), file, block);
      sent += static_cast<long>(block.size());
      block.clear();
    }
    block.insert(block.end(), piece.begin(), piece.begin() + static_cast<long>(got));
    if (got < kPiece) break;
  }
  if (ok && !block.empty()) {
    ok = sendImageBlock(*n, static_cast<uint32_t>(size), file, block);
    sent += static_cast<long>(block.size());
  }
  fclose(in);
  return __INIT_BOOL(ok && sent == size);
}

pObj_Node __VaskoMonitor(pObj_Node adminId, pObj_Node list) {
  const std::string id(core::checkText(adminId));
  if (!core::isType(list, T_ARRAY)) __RuntimeError(ARGUMENT_ERROR, -1);
  if (openRpcConnection(true, static_cast<int32_t>(atol(id.c_str()))) == 0) return __INIT_BOOL(0);
  NetBlock& n = *state().net;
  wire::PacketWriter w = beginRequest(n, wire::kAdminList);
  if (!rpcExchange(n, w)) {
    logf("VASKO ADMIN: Error getting Admin operations.");
    closeRpcConnection(true);
    return __INIT_BOOL(0);
  }
  wire::PacketReader r = replyReader(n);
  const int32_t count = r.readInt();
  if (!r.ok() || count <= 0) {
    logf(count == 0 && r.ok() ? "VASKO ADMIN: No operations to execute."
                              : "VASKO ADMIN: Error getting Admin operations.");
    closeRpcConnection(true);
    return __INIT_BOOL(0);
  }
  for (int32_t i = 0; i < count && r.ok(); ++i) {
    const int32_t number = r.readInt();
    const std::string first(r.readString()), second(r.readString());
    const int32_t value = r.readInt();
    if (!r.ok()) break;
    __AAdd(list, __CreateArray(__INIT_DOUBLE(number), __INIT_CHARPTR(first.c_str()), __INIT_CHARPTR(second.c_str()),
                               __INIT_DOUBLE(value), __INIT_NUL()));
  }
  return __INIT_BOOL(1);
}

pObj_Node __VaskoMonitorExec(pObj_Node operation, pObj_Node result) {
  const long number = core::checkWhole(operation);
  NetBlock* n = state().net;
  if (!n || n->rpcSocket < 0) return __INIT_BOOL(0);
  RpcBusy busy(*n);
  wire::PacketWriter w = beginRequest(*n, wire::kAdminRun);
  w.writeInt(static_cast<int32_t>(number));
  if (!sendRequest(*n, n->rpcSocket, w)) {
    logf("VASKO ADMIN: Error to send Admin command.");
    return __INIT_BOOL(0);
  }
  logf("VASKO ADMIN: Executing command %ld.", number);
  if (!readPacket(*n, n->rpcSocket)) return __INIT_BOOL(0);
  wire::PacketReader r = replyReader(*n);
  r.readByte();
  const std::string text(r.readString());
  if (result) __SET_OBJECT(result, __INIT_CHARPTR(text.c_str()));
  return __INIT_BOOL(1);
}

pObj_Node __VaskoMonitorDis() {
  NetBlock* n = state().net;
  const bool open = n && n->rpcSocket >= 0;
  logf("VASKO ADMIN: Admin User disconnected.");
  closeRpcConnection(open);
  return __INIT_NIL();
}
