// One device's conversation with the server, apart from the socket: each
// request payload in, the reply payloads out, and whether the connection
// ends. The listener feeds it from the network; tests and the fuzzer feed
// it bytes directly.
#ifndef ZELTA_SERVER_CONVERSATION_H
#define ZELTA_SERVER_CONVERSATION_H

#include <stdint.h>

#include <string>
#include <vector>

#include "byte_order.h"
#include "store.h"

namespace server {

struct Settings {
  std::string version = "6.0.0";  // announced in the login reply
};

// How a session ended, as the session log and the store record it.
enum class Result { Open, Ok, Refused, Closed, TimedOut, BadPacket, Busy, StoreFailed };
const char* resultName(Result r);

class Conversation {
 public:
  Conversation(Store& store, const Settings& settings) : store_(store), settings_(settings) {}

  // Handles one request payload sent in `order`. Replies are whole server
  // frames (length first), ready to send; after a call that ends the
  // session, result() says how.
  std::vector<std::vector<uint8_t>> handle(const uint8_t* payload, size_t n, wire::Order order);

  bool ended() const { return result_ != Result::Open; }
  // Ends the session from outside (peer closed, time-out, bad frame).
  void end(Result r) {
    if (result_ == Result::Open) result_ = r;
  }
  Result result() const { return result_; }
  const std::string& user() const { return user_; }
  const std::string& device() const { return device_; }
  const std::string& detail() const { return detail_; }
  int requests() const { return requests_; }

 private:
  std::vector<uint8_t> reply(wire::Order order, const std::vector<uint8_t>& body) const;
  std::vector<std::vector<uint8_t>> login(const uint8_t* payload, size_t n, wire::Order order);
  std::vector<std::vector<uint8_t>> refuse(wire::Order order, Result r, const std::string& text);

  Store& store_;
  const Settings& settings_;
  bool loggedIn_ = false;
  std::string user_;
  std::string device_;
  std::string detail_;
  Result result_ = Result::Open;
  int requests_ = 0;
};

// Splits a byte stream into device frames and hands each to the
// conversation, as the listener does over a socket; sets the result when
// the stream breaks a frame rule. Returns every reply frame in order.
std::vector<uint8_t> runStream(Conversation& c, const uint8_t* data, size_t n);

}  // namespace server

#endif
