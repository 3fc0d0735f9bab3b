// Building and reading the login request and the request head.
#include "protocol.h"

#include <string.h>

namespace wire {

bool sameVersion(const std::string& server, const std::string& client) {
  return strncmp(server.c_str(), client.c_str(), 6) == 0;
}

void writeRequestHead(PacketWriter& w, uint8_t command) {
  w.writeUShort(kRequestLead);
  w.writeByte(command);
}

bool readRequestHead(PacketReader& r, uint8_t& command) {
  const uint16_t lead = r.readUShort();
  command = r.readByte();
  return r.ok() && lead == kRequestLead;
}

bool writeLogin(PacketWriter& w, const LoginRequest& login) {
  writeRequestHead(w, kLogin);
  w.writeString(login.order);
  w.writeString(login.field33);
  w.writeString(login.device);
  w.writeString(login.user);
  w.writeByte(login.processor);
  w.writeByte(login.syncKind);
  w.writeString(login.clientVersion);
  w.writeString(login.empty);
  w.writeString(login.zlib);
  w.writeString(login.setBuffer);
  w.writeString(login.appVersion);
  w.writeString(login.rpc);
  w.writeString(login.admin);
  if (login.adminOn()) w.writeInt(login.adminId);
  return w.ok();
}

bool readLogin(PacketReader& r, LoginRequest& login) {
  login.order = std::string(r.readString());
  login.field33 = std::string(r.readString());
  login.device = std::string(r.readString());
  login.user = std::string(r.readString());
  login.processor = r.readByte();
  login.syncKind = r.readByte();
  login.clientVersion = std::string(r.readString());
  login.empty = std::string(r.readString());
  login.zlib = std::string(r.readString());
  login.setBuffer = std::string(r.readString());
  login.appVersion = std::string(r.readString());
  login.rpc = std::string(r.readString());
  login.admin = std::string(r.readString());
  login.adminId = login.adminOn() ? r.readInt() : 0;
  return r.ok();
}

}  // namespace wire
