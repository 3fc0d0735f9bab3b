// The server's side of the protocol (requests and replies are drawn in
// wire/protocol.h). Until a device has logged in, only the login request is
// accepted; anything malformed ends the session at once.
//
//   reply body: 16-bit 1 (the two bytes the device keeps and skips) | ...
//   login accepted: 13 | version | 'd' | 250
//   login refused:  0  | text
#include "conversation.h"

#include "framing.h"
#include "protocol.h"

namespace server {

namespace {

using Frames = std::vector<std::vector<uint8_t>>;

// A reply body under construction: the kept bytes, then the fields.
struct Body {
  explicit Body(wire::Order order) : bytes(wire::kMaxPayload), w(bytes.data(), bytes.size(), order) {
    w.writeUShort(1);
  }
  std::vector<uint8_t> done() {
    bytes.resize(w.position());
    return bytes;
  }
  std::vector<uint8_t> bytes;
  wire::PacketWriter w;
};

}  // namespace

const char* resultName(Result r) {
  switch (r) {
    case Result::Open: return "open";
    case Result::Ok: return "ok";
    case Result::Refused: return "refused";
    case Result::Closed: return "closed";
    case Result::TimedOut: return "time-out";
    case Result::BadPacket: return "bad-packet";
    case Result::Busy: return "busy";
    case Result::StoreFailed: return "store-failed";
  }
  return "?";
}

std::vector<uint8_t> Conversation::reply(wire::Order order, const std::vector<uint8_t>& body) const {
  std::vector<uint8_t> frame(wire::kServerHeaderSize + body.size());
  wire::writeServerLength(frame.data(), static_cast<uint16_t>(body.size()), order);
  std::copy(body.begin(), body.end(), frame.begin() + wire::kServerHeaderSize);
  return frame;
}

Frames Conversation::refuse(wire::Order order, Result r, const std::string& text) {
  Body b(order);
  b.w.writeByte(0);
  b.w.writeString(text);
  detail_ = text;
  end(r);
  return {reply(order, b.done())};
}

Frames Conversation::login(const uint8_t* payload, size_t n, wire::Order order) {
  wire::PacketReader r(payload, n, order, 3);
  wire::LoginRequest request;
  if (!wire::readLogin(r, request)) {
    detail_ = "login request cut short";
    end(Result::BadPacket);
    return {};
  }
  user_ = request.user;
  device_ = request.device;
  if (!wire::sameVersion(request.clientVersion, wire::kProtocolVersion))
    return refuse(order, Result::Refused,
                  "This server speaks protocol " + std::string(wire::kProtocolVersion) + ", the device " +
                      request.clientVersion + ".");
  std::string error;
  const bool known = store_.deviceKnown(user_, device_, error);
  if (!error.empty()) return refuse(order, Result::StoreFailed, "The server cannot read its database now.");
  if (!known)
    return refuse(order, Result::Refused,
                  "The user " + user_ + " on device " + device_ + " is not registered with this server.");
  loggedIn_ = true;
  Body b(order);
  b.w.writeByte(wire::kReplyOk);
  b.w.writeString(settings_.version);
  b.w.writeByte('d');
  b.w.writeByte(250);
  return {reply(order, b.done())};
}

Frames Conversation::handle(const uint8_t* payload, size_t n, wire::Order order) {
  if (ended()) return {};
  ++requests_;
  wire::PacketReader head(payload, n, order);
  uint8_t command = 0;
  if (!wire::readRequestHead(head, command)) {
    detail_ = "request without its lead";
    end(Result::BadPacket);
    return {};
  }
  if (!loggedIn_) {
    if (command == wire::kLogin) return login(payload, n, order);
    detail_ = "request before the login";
    end(Result::BadPacket);
    return {};
  }
  switch (command) {
    case wire::kGoodbye: end(Result::Ok); return {};
    case wire::kKeepAlive: {
      Body b(order);
      b.w.writeByte(wire::kReplyOk);
      return {reply(order, b.done())};
    }
    case wire::kTaskCount: {
      std::string error;
      const long count = store_.taskCount(user_, device_, error);
      if (count < 0) {
        detail_ = error;
        end(Result::StoreFailed);
        return {};
      }
      Body b(order);
      b.w.writeString(std::to_string(count));
      return {reply(order, b.done())};
    }
    default:
      detail_ = "unknown command " + std::to_string(command);
      end(Result::BadPacket);
      return {};
  }
}

std::vector<uint8_t> runStream(Conversation& c, const uint8_t* data, size_t n) {
  std::vector<uint8_t> out;
  size_t at = 0;
  while (!c.ended()) {
    if (n - at < static_cast<size_t>(wire::kClientHeaderSize)) {
      c.end(Result::Closed);
      break;
    }
    uint16_t length = 0;
    wire::Order order;
    if (wire::readClientHeader(data + at, length, order) != wire::HeaderStatus::Ok) {
      c.end(Result::BadPacket);
      break;
    }
    at += wire::kClientHeaderSize;
    if (n - at < length) {
      c.end(Result::Closed);
      break;
    }
    for (const std::vector<uint8_t>& frame : c.handle(data + at, length, order))
      out.insert(out.end(), frame.begin(), frame.end());
    at += length;
  }
  return out;
}

}  // namespace server
