// One device's conversation with the server, apart from the socket: each
// request payload in, the reply payloads out, and whether the connection
// ends. The listener feeds it from the network; tests and the fuzzer feed
// it bytes directly.
#ifndef ZELTA_SERVER_CONVERSATION_H
#define ZELTA_SERVER_CONVERSATION_H

#include <stdint.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "byte_order.h"
#include "download_cache.h"
#include "rpc.h"
#include "store.h"

namespace server {

struct Settings {
  std::string version = "6.0.0";   // announced in the login reply
  DownloadCache* cache = nullptr;  // total downloads shared by the sessions
  // Told when a session wrote rows of a table, so that their total
  // downloads are built again.
  std::function<void()> tablesChanged;
  RpcSettings rpc;
};

// How a session ended, as the session log and the store record it.
enum class Result { Open, Ok, Refused, Closed, TimedOut, BadPacket, Busy, StoreFailed };
const char* resultName(Result r);

class Conversation {
 public:
  Conversation(Store& store, const Settings& settings) : store_(&store), settings_(settings) {}
  // The store of the thread that handles the next request.
  void useStore(Store& store) { store_ = &store; }

  // Handles one request payload sent in `order`. Replies are whole server
  // frames (length first), ready to send; after a call that ends the
  // session, result() says how.
  std::vector<std::vector<uint8_t>> handle(const uint8_t* payload, size_t n, wire::Order order);

  // A download is sent in batches of packets, each built while the one
  // before travels: after sending handle()'s frames, while streaming(),
  // send what moreFrames() gives.
  bool streaming() const { return stream_ != nullptr; }
  std::vector<std::vector<uint8_t>> moreFrames();

  bool ended() const { return result_ != Result::Open; }
  // Ends the session from outside (peer closed, time-out, bad frame).
  void end(Result r) {
    if (result_ == Result::Open) result_ = r;
  }
  // The last step of every connection, however it ended: uploads that
  // arrived are written back; downloads count as delivered only after a
  // goodbye.
  void close();

  Result result() const { return result_; }
  const std::string& user() const { return user_; }
  const std::string& device() const { return device_; }
  const std::string& detail() const { return detail_; }
  int requests() const { return requests_; }
  long rowsSent() const { return rowsSent_; }
  long rowsReceived() const { return rowsReceived_; }

 private:
  using Frames = std::vector<std::vector<uint8_t>>;
  std::vector<uint8_t> reply(const std::vector<uint8_t>& body) const;
  Frames login(const uint8_t* payload, size_t n);
  Frames refuse(Result r, const std::string& text);
  Frames fail(Result r, const std::string& why);
  Frames taskCount();
  Frames describeTask(const uint8_t* payload, size_t n);
  Frames streamDownload();
  Frames fileInfo();
  Frames streamFile();
  Frames streamImage();
  bool loadPushed(int type);
  // A download on its way out: its rows, the next one to pack, and, for a
  // total download to be kept, the frames sent so far.
  struct Stream {
    Download download;
    size_t next = 0;
    bool whole = false;
    Frames sent;
  };
  Frames upload(const uint8_t* payload, size_t n);
  bool writeBackUploads();
  void tablesChanged() const {
    if (settings_.tablesChanged) settings_.tablesChanged();
  }

  Store* store_;
  const Settings& settings_;
  wire::Order order_ = wire::Order::Big;
  bool loggedIn_ = false;
  std::string user_;
  std::string device_;
  std::string detail_;
  Result result_ = Result::Open;
  int requests_ = 0;
  std::vector<Task> tasks_;
  int current_ = -1;      // the task last described
  TableDef uploadTable_;  // while the device sends the described upload
  bool uploading_ = false;
  bool staged_ = false;  // uploads waiting to be written back
  std::vector<Delivery> delivered_;
  long rowsSent_ = 0;
  long rowsReceived_ = 0;
  bool closed_ = false;
  PushedFile pushed_;  // the install or image of the current task, once loaded
  RpcCaller caller_;
  std::shared_ptr<RpcSession> rpc_;
  std::unique_ptr<Stream> stream_;
};

// Splits a byte stream into device frames and hands each to the
// conversation, as the listener does over a socket; sets the result when
// the stream breaks a frame rule, then closes the conversation. Returns
// every reply frame in order.
std::vector<uint8_t> runStream(Conversation& c, const uint8_t* data, size_t n);

}  // namespace server

#endif
