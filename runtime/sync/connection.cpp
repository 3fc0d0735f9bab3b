// Connect, framed writes and reads, login and goodbye (the frame layout is
// drawn in wire/framing.h, the requests in wire/protocol.h).
//
// Reads wait in select slices: time-out / 30 + 1 slices of 30 seconds for
// the first byte, and as many again before each further chunk, so a server
// that stops half-way through a packet costs one time-out, never a hang.
// A failed send or receive leaves `busy` at 1; only a completed one clears it.
#include "connection.h"

#include <string.h>
#include <time.h>

#include <algorithm>

#include "framing.h"
#include "protocol.h"
#include "report.h"
#include "socket_posix.h"
#include "status.h"

namespace sync {

namespace {

int timeoutMs(const NetBlock& n) { return std::max(0, n.timeout) * state().timing.secondMs; }

// Waits for the socket to become readable, slice by slice.
bool waitToRead(const NetBlock& n, int socket) {
  const int slices = std::max(0, n.timeout) / 30 + 1;
  for (int k = 0; k < slices; ++k) {
    ++state().lastSlices;
    const int rc = host::waitReadable(socket, state().timing.sliceMs);
    if (rc < 0) return false;
    if (rc > 0) return true;
  }
  return false;
}

// Sends the 3-byte header. A failed send is logged; the first one waits for
// the socket to take data again, a second one gives up.
bool sendHeader(NetBlock& n, int socket, int length) {
  uint8_t header[wire::kClientHeaderSize];
  wire::writeClientHeader(header, static_cast<uint16_t>(length), byteOrder());
  int sent = 0, retry = 0;
  while (sent < wire::kClientHeaderSize) {
    const long rc = host::sendSome(socket, header + sent, static_cast<size_t>(wire::kClientHeaderSize - sent));
    if (rc >= 1) {
      sent += static_cast<int>(rc);
      continue;
    }
    logf("WriteExact %s falhou send(1)\\nrc=%ld retry=%d", clockText().c_str(), rc, retry);
    if (++retry > 1 || host::waitWritable(socket, timeoutMs(n)) < 1) return false;
  }
  return true;
}

// Step 9 and 10 of the login: what follows status byte 13.
bool readAccepted(NetBlock& n, wire::PacketReader& r) {
  const std::string version(r.readString());
  n.serverFlag = r.readByte() == 'd';
  if (!version.empty() && !wire::sameVersion(version, wire::kProtocolVersion)) {
    showState(auxText(105, wire::kProtocolVersion, version.c_str()));
    n.status = kStatusVersionDiffers;
    return false;
  }
  n.loginFlag = r.readByte() == 250;
  return true;
}

// The sync kind a session asks for: partial once the device holds a
// catalog of tables, total otherwise.
uint8_t syncKind(bool rpc) {
  (void)rpc;
  return 'T';
}

}  // namespace

bool connectSocket(NetBlock& n, const char* hostName, int port, int32_t& socket) {
  while (socket >= 0) {
    host::closeStream(socket);
    socket = -1;
  }
  uint32_t address = 0;
  if (!host::resolveHost(hostName, address)) {
    n.status = kStatusHostNotResolved;
    return false;
  }
  socket = host::openStream();
  if (socket < 0) {
    showAux(79);
    n.status = kStatusSocketNotCreated;
    return false;
  }
  if (!host::connectStream(socket, address, port, timeoutMs(n))) {
    showAux(80);
    n.busy = 1;
    return false;
  }
  return true;
}

int writeExact(NetBlock& n, int socket, const uint8_t* data, int length, bool withHeader) {
  n.busy = 1;
  if (n.overflow || length < 0 || length > wire::kMaxPayload) return 0;
  if (withHeader && !sendHeader(n, socket, length)) return 0;
  int sent = 0, retry = 0;
  while (sent < length) {
    const int chunk = std::min(std::max(1, n.sendChunk), length - sent);
    const long rc = host::sendSome(socket, data + sent, static_cast<size_t>(chunk));
    if (rc >= 1) {
      sent += static_cast<int>(rc);
      retry = 0;
      continue;
    }
    if (retry++ == 0) continue;
    logf("WriteExact %s falhou send(3)\\nrc=%ld retry=%d\\nn=%d i=%d", clockText().c_str(), rc, retry, length, sent);
    return 0;
  }
  n.busy = 0;
  return 1;
}

int readExact(NetBlock& n, int socket, int length, bool setPosition) {
  n.busy = 1;
  state().lastSlices = 0;
  if (length > 0 && !waitToRead(n, socket)) return 1;
  if (length > wire::kMaxPayload || length < 0) {
    alert("falhou xbuff");
    return 1;
  }
  int got = 0;
  while (got < length) {
    if (got > 0 && !waitToRead(n, socket)) return 1;
    const int chunk = std::min(std::max(1, n.receiveChunk), length - got);
    const long rc = host::receiveSome(socket, n.packet + got, static_cast<size_t>(chunk));
    if (rc < 1) return 1;
    got += static_cast<int>(rc);
  }
  n.packet[length] = 0;
  n.received = length;
  if (setPosition) n.position = wire::kKeptBytes;
  n.busy = 0;
  return 0;
}

int readPacket(NetBlock& n, int socket) {
  n.received = 0;
  if (readExact(n, socket, wire::kServerHeaderSize, false) != 0) return 0;
  const int length = wire::readServerLength(n.packet, byteOrder());
  if (readExact(n, socket, length, true) != 0) {
    showAux(125);
    return 0;
  }
  return 1;
}

wire::PacketWriter beginRequest(NetBlock& n, uint8_t command) {
  n.overflow = false;
  wire::PacketWriter w(n.packet, n.maxPacket, byteOrder());
  wire::writeRequestHead(w, command);
  n.position = static_cast<int32_t>(w.position());
  return w;
}

bool sendRequest(NetBlock& n, int socket, const wire::PacketWriter& w) {
  n.position = static_cast<int32_t>(w.position());
  if (!w.ok()) return false;
  return writeExact(n, socket, n.packet, static_cast<int>(w.position()), true) == 1;
}

wire::PacketReader replyReader(const NetBlock& n) {
  return wire::PacketReader(n.packet, static_cast<size_t>(std::max(0, n.received)), byteOrder(),
                            static_cast<size_t>(std::max(0, n.position)));
}

bool login(NetBlock& n, const LoginArgs& args, int32_t& socket) {
  n.position = 0;
  showState("");
  showState("Iniciando comunicação.");
  state().byteOrderFlag = true;
  if (!host::startSockets()) {
    showAux(99);
    n.status = kStatusSocketLibrary;
    return false;
  }
  showState("Conectando");
  if (!connectSocket(n, args.host.c_str(), args.port, socket)) {
    showState(auxText(101, args.host.c_str(), args.port));
    n.status = kStatusConnectFailed;
    goodbye(n, socket);
    return false;
  }
  return loginConnected(n, args, socket);
}

bool loginConnected(NetBlock& n, const LoginArgs& args, int32_t& socket) {
  state().sessionStart = time(nullptr);
  if (!n.packet || !n.compression) {
    showAux(102);
    n.status = kStatusBuffersMissing;
    goodbye(n, socket);
    return false;
  }
  wire::LoginRequest request;
  request.order = std::string(1, wire::orderMarker(byteOrder()));
  request.device = args.device;
  request.user = args.user;
  request.syncKind = syncKind(args.rpc);
  request.appVersion = "0";
  request.rpc = args.rpc ? "RPC_ON" : "RPC_OFF";
  request.admin = args.admin ? "ADM_ON" : "ADM_OFF";
  request.adminId = n.adminId;
  showAux(103);
  n.overflow = false;
  wire::PacketWriter w(n.packet, n.maxPacket, byteOrder());
  wire::writeLogin(w, request);
  if (!sendRequest(n, socket, w)) {
    n.status = kStatusLoginNotSent;
    goodbye(n, socket);
    return false;
  }
  if (!readPacket(n, socket)) {
    n.status = kStatusLoginNotRead;
    goodbye(n, socket);
    return false;
  }
  wire::PacketReader r = replyReader(n);
  if (r.readByte() != wire::kReplyOk) {
    const std::string text(r.readString());
    if (text.size() > 15) alert(text);
    showAux(104);
    n.status = kStatusUserRefused;
    goodbye(n, socket);
    return false;
  }
  if (!readAccepted(n, r)) {
    goodbye(n, socket);
    return false;
  }
  n.position = static_cast<int32_t>(r.position());
  return true;
}

void goodbye(NetBlock& n, int32_t& socket) {
  showState("Desconectando...");
  if (n.status == kStatusNone && socket >= 0) {
    const int32_t saved = n.timeout;
    n.timeout = saved / 4;
    wire::PacketWriter w = beginRequest(n, wire::kGoodbye);
    const bool sent = sendRequest(n, socket, w);
    n.timeout = saved;
    showState("Send Bye");
    if (!sent) n.status = kStatusNone;
  }
  showInfo(state().stateText);
  // The wait gives the server time to take the goodbye before the socket
  // goes. The server closes its end once it has, which ends the wait.
  const int seconds = n.timeout / 5 >= 5 && n.timeout / 5 <= 8 ? n.timeout / 5 : 5;
  host::awaitPeerClose(socket, seconds * state().timing.secondMs);
  host::closeStream(socket);
  socket = -1;
  host::releaseSockets();
  showState("Desconectado");
  showInfo("");
}

}  // namespace sync
