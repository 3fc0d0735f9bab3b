// The connection primitives the sync session and the RPC calls build on:
// connect, the framed writes and reads with their time-outs, the login
// exchange and the goodbye. They work on the connection state block.
#ifndef ZELTA_RUNTIME_SYNC_CONNECTION_H
#define ZELTA_RUNTIME_SYNC_CONNECTION_H

#include <stdint.h>

#include <string>

#include "packet.h"
#include "sync_state.h"

namespace sync {

// Closes a socket still held, resolves and connects. On failure the status
// is set as the failure asks (1125, 1135) or busy is set (connect refused).
bool connectSocket(NetBlock& n, const char* host, int port, int32_t& socket);

// Sends `length` bytes, after the 3-byte header when asked. 1 on success,
// 0 on failure (busy stays 1).
int writeExact(NetBlock& n, int socket, const uint8_t* data, int length, bool withHeader);
// Reads exactly `length` bytes into the packet buffer at offset 0 (and a
// zero byte after them); with setPosition the read position becomes 2.
// 0 on success, 1 on failure (busy stays 1).
int readExact(NetBlock& n, int socket, int length, bool setPosition);
// Reads one server packet: its 2-byte length, then the payload. 1 on
// success, 0 on failure (message 125 as the state text when the payload
// did not arrive).
int readPacket(NetBlock& n, int socket);

// A request in the packet buffer: lead and command written, position after.
wire::PacketWriter beginRequest(NetBlock& n, uint8_t command);
// Sends what the writer built, with header; false when it passed the buffer.
bool sendRequest(NetBlock& n, int socket, const wire::PacketWriter& w);
// The payload of the last packet read, from the read position.
wire::PacketReader replyReader(const NetBlock& n);

struct LoginArgs {
  std::string host;
  int port = 0;
  std::string user;
  std::string device;
  bool rpc = false;
  bool admin = false;
};

// The login exchange on `socket` (the session's or the RPC socket). On
// failure the status is set, the connection closed and false returned.
bool login(NetBlock& n, const LoginArgs& args, int32_t& socket);
// The same on a socket that is already connected: the request and its reply.
bool loginConnected(NetBlock& n, const LoginArgs& args, int32_t& socket);

// Says goodbye unless a status is set, waits until the server closes its end
// (at most the goodbye wait), and closes the socket.
void goodbye(NetBlock& n, int32_t& socket);

}  // namespace sync

#endif
