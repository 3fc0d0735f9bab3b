// The requests and replies of a session, built and read by both ends.
//
//   request payload:  16-bit 1 | command byte | body
//   reply body:       (after the 2 kept bytes)
//
//   command            request body                 reply body
//   1    login         LoginRequest (below)         13, LoginAccepted | other, text
//   2    goodbye       -                            none
//   7    task count    -                            count as decimal text
//   8    get task      task number, decimal text    13, task description
//   11   download      -                            stream of data packets
//   9    file info     -                            13, file name, version text
//   12   file transfer -                            13, size as decimal text, then
//                                                   chunks: size text | zlib stream
//   0x20 images        -                            per image 13 | 0 | name | 16-bit
//                                                   size | bytes; then 13 | 17
//   0xAF keep-alive    -                            13
//
// Login request, in order: "B" or "L"; "33"; device; user; processor byte;
// sync kind byte ('T'/'P'); client version "6.0.0"; ""; "ZLIBON"/"ZLIBOFF";
// "SETBUFFER"; application version; "RPC_ON"/"RPC_OFF"; "ADM_ON"/"ADM_OFF";
// with ADM_ON a 4-byte administrator id. Texts end with a zero byte.
// Login accepted: server version text, flag byte, login byte.
#ifndef ZELTA_WIRE_PROTOCOL_H
#define ZELTA_WIRE_PROTOCOL_H

#include <stdint.h>

#include <string>

#include "packet.h"

namespace wire {

enum Command : uint8_t {
  kLogin = 1,
  kGoodbye = 2,
  kTaskCount = 7,
  kGetTask = 8,
  kFileInfo = 9,
  kStartDownload = 11,
  kStartFile = 12,
  kStartImages = 0x20,
  kKeepAlive = 0xAF
};

constexpr uint16_t kRequestLead = 1;
constexpr uint8_t kReplyOk = 13;
constexpr uint8_t kImagesEnd = 17;  // sub byte of the last images packet
constexpr size_t kFileChunk = 8192;  // raw bytes per file chunk
constexpr const char* kProtocolVersion = "6.0.0";
// The versions agree when their first six bytes (terminator included) do.
bool sameVersion(const std::string& server, const std::string& client);

struct LoginRequest {
  std::string order = "B";
  std::string field33 = "33";
  std::string device;
  std::string user;
  uint8_t processor = 7;
  uint8_t syncKind = 'T';
  std::string clientVersion = kProtocolVersion;
  std::string empty;
  std::string zlib = "ZLIBON";
  std::string setBuffer = "SETBUFFER";
  std::string appVersion;
  std::string rpc = "RPC_OFF";
  std::string admin = "ADM_OFF";
  int32_t adminId = 0;

  bool rpcOn() const { return rpc == "RPC_ON"; }
  bool adminOn() const { return admin == "ADM_ON"; }
};

// Writes the whole request, lead and command byte included.
bool writeLogin(PacketWriter& w, const LoginRequest& login);
// Reads the body after the command byte; false when a field is missing.
bool readLogin(PacketReader& r, LoginRequest& login);

struct LoginAccepted {
  std::string serverVersion;
  uint8_t flag = 0;   // 'd' sets the device's server flag
  uint8_t login = 0;  // 250 sets its login flag
};

// A request's lead and command. False when the payload is too short or its
// lead is not 1.
bool readRequestHead(PacketReader& r, uint8_t& command);
void writeRequestHead(PacketWriter& w, uint8_t command);

}  // namespace wire

#endif
