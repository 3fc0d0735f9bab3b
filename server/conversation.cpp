// The server's side of the protocol (requests and replies are drawn in
// wire/protocol.h, the data packets in wire/sync_packets.h). Until a device
// has logged in, only the login request is accepted; anything malformed ends
// the session at once.
//
//   reply body: 16-bit 1 (the two bytes the device keeps and skips) | ...
//   login accepted: 13 | version | 'd' | 250
//   login refused:  0  | text
//   task count:     count as text
//   task n:         13 | type | 0 | table | (downloads) count, 4 bytes | 'T'/'P'
//                   13 | 10 or 40 | 16 | 0          (an install or an image)
//   file info:      13 | name | version            (install task)
//   file transfer:  13 | size text, then per chunk: size text | zlib stream
//   images:         13 | 0 | name | 16-bit size | bytes, then 13 | 17
//   no such task:   0
//   download:       data packets, then 11 | 0; on a failure 255 | 0 | text
//   upload packet:  13, or 0 | text when the packet is refused
//
// The session's state: tasks are built at the task count; a download task is
// delivered once its stream went out and the device said goodbye; uploads
// are staged as they arrive (each acknowledged once stored) and written back
// when the device moves on or goes.
#include "conversation.h"

#include <algorithm>

#include "framing.h"
#include "protocol.h"
#include "reply_body.h"
#include "stored_download.h"
#include "sync_packets.h"
#include "upload_rows.h"

namespace server {

namespace {

// Packets built at a time: enough to keep the socket busy while the next
// batch is made, few enough that the device starts on the first at once.
constexpr size_t kBatchPackets = 16;

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

std::vector<uint8_t> Conversation::reply(const std::vector<uint8_t>& body) const {
  std::vector<uint8_t> frame(wire::kServerHeaderSize + body.size());
  wire::writeServerLength(frame.data(), static_cast<uint16_t>(body.size()), order_);
  std::copy(body.begin(), body.end(), frame.begin() + wire::kServerHeaderSize);
  return frame;
}

Conversation::Frames Conversation::refuse(Result r, const std::string& text) {
  Body b(order_);
  b.w.writeByte(0);
  b.w.writeString(text);
  detail_ = text;
  end(r);
  return {reply(b.done())};
}

Conversation::Frames Conversation::fail(Result r, const std::string& why) {
  detail_ = why;
  end(r);
  return {};
}

Conversation::Frames Conversation::login(const uint8_t* payload, size_t n) {
  wire::PacketReader r(payload, n, order_, 3);
  wire::LoginRequest request;
  if (!wire::readLogin(r, request)) return fail(Result::BadPacket, "login request cut short");
  user_ = request.user;
  device_ = request.device;
  if (!wire::sameVersion(request.clientVersion, wire::kProtocolVersion))
    return refuse(Result::Refused, "This server speaks protocol " + std::string(wire::kProtocolVersion) +
                                       ", the device " + request.clientVersion + ".");
  std::string error;
  bool known = false;
  if (!store_->deviceKnown(user_, device_, known, error))
    return refuse(Result::StoreFailed, "The server cannot read its database now.");
  if (!known)
    return refuse(Result::Refused,
                  "The user " + user_ + " on device " + device_ + " is not registered with this server.");
  loggedIn_ = true;
  caller_ = {user_, device_, request.adminOn(), request.adminId};
  Body b(order_);
  b.w.writeByte(wire::kReplyOk);
  b.w.writeString(settings_.version);
  b.w.writeByte('d');
  b.w.writeByte(250);
  return {reply(b.done())};
}

Conversation::Frames Conversation::taskCount() {
  std::string error;
  // Uploads a cut session left are written back before the device's new
  // task list is made from the tables.
  UploadCounts counts;
  if (!store_->applyStaged(user_, device_, counts, error)) return fail(Result::StoreFailed, error);
  if (counts.rows > 0) tablesChanged();
  if (!store_->buildTasks(user_, device_, tasks_, error)) return fail(Result::StoreFailed, error);
  Body b(order_);
  b.w.writeString(std::to_string(tasks_.size()));
  return {reply(b.done())};
}

Conversation::Frames Conversation::describeTask(const uint8_t* payload, size_t n) {
  wire::PacketReader r(payload, n, order_, 3);
  const std::string number(r.readString());
  const bool digits =
      !number.empty() && number.size() < 7 && number.find_first_not_of("0123456789") == std::string::npos;
  const long index = digits ? atol(number.c_str()) : 0;
  if (!r.ok() || index < 1 || index > static_cast<long>(tasks_.size())) {
    current_ = -1;
    Body b(order_);
    b.w.writeByte(0);
    return {reply(b.done())};
  }
  current_ = static_cast<int>(index - 1);
  const Task& t = tasks_[static_cast<size_t>(current_)];
  Body b(order_);
  b.w.writeByte(wire::kReplyOk);
  b.w.writeByte(static_cast<uint8_t>(t.type));
  if (t.type == kTaskInstall || t.type == kTaskImage) {
    b.w.writeByte(16);
    b.w.writeByte(0);
    return {reply(b.done())};
  }
  b.w.writeByte(0);
  b.w.writeString(t.table);
  if (t.type == kTaskDownload) {
    b.w.writeInt(static_cast<int32_t>(t.count));
    b.w.writeByte(static_cast<uint8_t>(t.mode));
  }
  std::string error;
  if (t.type == kTaskDelete) delivered_.push_back({t.table, -1, 0, t.queueId});
  if (t.type == kTaskUpload) {
    bool found = false;
    if (!store_->table(t.table, uploadTable_, found, error) || !found) return fail(Result::StoreFailed, error);
    uploading_ = true;
  }
  if (t.type == kTaskDownload && t.count == 0) {
    // The device fetches nothing for an empty download; it holds the table
    // as it stands when nothing arrived since the list was made.
    Download d;
    if (!store_->download(user_, device_, t, d, error)) return fail(Result::StoreFailed, error);
    if (d.rows.empty()) delivered_.push_back(d.delivery);
  }
  return {reply(b.done())};
}

Conversation::Frames Conversation::moreFrames() {
  if (!stream_) return {};
  Stream& st = *stream_;
  const std::vector<std::vector<uint8_t>>& all = st.download.rows;
  Frames frames;
  if (!packDownload(all, st.next, kBatchPackets, order_, frames)) {
    stream_.reset();
    return fail(Result::StoreFailed, "a packet did not fit");
  }
  if (st.whole) st.sent.insert(st.sent.end(), frames.begin(), frames.end());
  if (st.next < all.size()) return frames;
  if (st.whole) {
    // Kept for the next devices, here and on every server of the database;
    // a failure to keep it costs them only the build.
    const Delivery& d = st.download.delivery;
    bool kept = false;
    std::string error;
    store_->keepDownload(d, order_, st.sent, kept, error);
    if (settings_.cache) settings_.cache->put(d.table, d.generation, d.version, order_, std::move(st.sent));
  }
  rowsSent_ += static_cast<long>(all.size());
  delivered_.push_back(st.download.delivery);
  stream_.reset();
  return frames;
}

Conversation::Frames Conversation::streamDownload() {
  if (current_ < 0 || tasks_[static_cast<size_t>(current_)].type != kTaskDownload)
    return fail(Result::BadPacket, "a download request without a download task");
  const Task& task = tasks_[static_cast<size_t>(current_)];
  std::string error;
  long generation = 0, version = 0;
  bool found = false;
  // A total download of an application table goes out as built for the
  // table's current version: from this process's cache, else as kept in
  // the database.
  const bool whole = task.mode == 'T' && !isCatalogTable(task.table);
  if (whole && store_->tableVersion(task.table, generation, version, found, error) && found) {
    std::shared_ptr<const Frames> hit;
    if (settings_.cache) hit = settings_.cache->find(task.table, generation, version, order_);
    Frames kept;
    bool have = false;
    if (!hit && store_->storedDownload(task.table, generation, version, order_, kept, have, error) && have) {
      hit = std::make_shared<const Frames>(std::move(kept));
      if (settings_.cache) settings_.cache->put(task.table, generation, version, order_, *hit);
    }
    if (hit) {
      rowsSent_ += task.count;
      delivered_.push_back({task.table, generation, version, task.queueId});
      return *hit;
    }
  }
  auto st = std::make_unique<Stream>();
  if (!store_->download(user_, device_, task, st->download, error)) {
    Body b(order_);
    b.w.writeByte(255);  // byte 2 above 254: the text of an error follows
    b.w.writeByte(0);
    b.w.writeString("server: " + error);
    detail_ = error;
    return {reply(b.done())};
  }
  st->whole = whole;
  stream_ = std::move(st);
  return moreFrames();
}

bool Conversation::loadPushed(int type) {
  if (current_ < 0 || tasks_[static_cast<size_t>(current_)].type != type) return false;
  const Task& t = tasks_[static_cast<size_t>(current_)];
  if (pushed_.id == t.fileId) return true;
  bool found = false;
  std::string error;
  if (!store_->pushedFile(t.fileId, pushed_, found, error) || !found) {
    detail_ = found ? error : "the pushed file " + std::to_string(t.fileId) + " is gone";
    pushed_ = PushedFile();
    return false;
  }
  return true;
}

Conversation::Frames Conversation::fileInfo() {
  if (!loadPushed(kTaskInstall)) return fail(Result::BadPacket, "a file request without its install task");
  // The device may decline the file (same version): offering it is delivering it.
  delivered_.push_back({"", 0, 0, tasks_[static_cast<size_t>(current_)].queueId, true});
  Body b(order_);
  b.w.writeByte(wire::kReplyOk);
  b.w.writeString(pushed_.name);
  b.w.writeString(pushed_.version);
  return {reply(b.done())};
}

Conversation::Frames Conversation::streamFile() {
  if (!loadPushed(kTaskInstall)) return fail(Result::BadPacket, "a file transfer without its install task");
  Frames frames;
  Body head(order_);
  head.w.writeByte(wire::kReplyOk);
  head.w.writeString(std::to_string(pushed_.content.size()));
  frames.push_back(reply(head.done()));
  const uint8_t* data = reinterpret_cast<const uint8_t*>(pushed_.content.data());
  std::vector<uint8_t> packed(wire::kMaxPayload);
  for (size_t at = 0; at < pushed_.content.size(); at += wire::kFileChunk) {
    const size_t n = std::min(wire::kFileChunk, pushed_.content.size() - at);
    Body b(order_);
    b.w.writeString(std::to_string(n));
    const size_t room = wire::kMaxPayload - b.w.position();
    const wire::Deflated d = wire::deflateWhole(data + at, n, packed.data(), room);
    if (d.status != wire::DeflateStatus::Ok) return fail(Result::StoreFailed, "a file chunk did not fit");
    b.w.writeBytes(packed.data(), d.size);
    frames.push_back(reply(b.done()));
  }
  rowsSent_ += 1;
  return frames;
}

Conversation::Frames Conversation::streamImage() {
  if (!loadPushed(kTaskImage)) return fail(Result::BadPacket, "an images request without its image task");
  Frames frames;
  Body b(order_);
  b.w.writeByte(wire::kReplyOk);
  b.w.writeByte(0);
  b.w.writeString(pushed_.name);
  b.w.writeUShort(static_cast<uint16_t>(pushed_.content.size()));
  b.w.writeBytes(reinterpret_cast<const uint8_t*>(pushed_.content.data()), pushed_.content.size());
  if (!b.w.ok()) return fail(Result::StoreFailed, "an image did not fit a packet");
  frames.push_back(reply(b.done()));
  Body end(order_);
  end.w.writeByte(wire::kReplyOk);
  end.w.writeByte(wire::kImagesEnd);
  frames.push_back(reply(end.done()));
  delivered_.push_back({"", 0, 0, tasks_[static_cast<size_t>(current_)].queueId, true});
  return frames;
}

Conversation::Frames Conversation::upload(const uint8_t* payload, size_t n) {
  std::vector<wire::Row> rows;
  std::string why, error;
  if (!readUploadPacket(uploadTable_, payload, n, order_, rows, why)) {
    detail_ = why;
    Body b(order_);
    b.w.writeByte(0);
    b.w.writeString("Upload of " + uploadTable_.name + " refused: " + why + ".");
    return {reply(b.done())};
  }
  if (!store_->stageUpload(user_, device_, uploadTable_.name, payload, n, order_, error))
    return fail(Result::StoreFailed, error);
  staged_ = true;
  rowsReceived_ += static_cast<long>(rows.size());
  Body b(order_);
  b.w.writeByte(wire::kReplyOk);
  return {reply(b.done())};
}

bool Conversation::writeBackUploads() {
  uploading_ = false;
  if (!staged_) return true;
  staged_ = false;
  UploadCounts counts;
  std::string error;
  if (store_->applyStaged(user_, device_, counts, error)) {
    if (counts.rows > 0) tablesChanged();
    return true;
  }
  detail_ = error;
  return false;
}

void Conversation::close() {
  if (closed_) return;
  closed_ = true;
  if (!loggedIn_) return;
  std::string error;
  if (!writeBackUploads()) {
    end(Result::StoreFailed);
    return;
  }
  if (result_ == Result::Ok && !store_->markDelivered(user_, device_, delivered_, error)) {
    detail_ = error;
    result_ = Result::StoreFailed;
  }
}

Conversation::Frames Conversation::handle(const uint8_t* payload, size_t n, wire::Order order) {
  if (ended()) return {};
  ++requests_;
  order_ = order;
  if (loggedIn_ && uploading_ && looksLikeUpload(payload, n)) return upload(payload, n);
  wire::PacketReader head(payload, n, order);
  uint8_t command = 0;
  if (!wire::readRequestHead(head, command)) return fail(Result::BadPacket, "request without its lead");
  if (!loggedIn_) {
    if (command == wire::kLogin) return login(payload, n);
    return fail(Result::BadPacket, "request before the login");
  }
  if (!writeBackUploads()) return fail(Result::StoreFailed, detail_);
  switch (command) {
    case wire::kGoodbye: end(Result::Ok); return {};
    case wire::kKeepAlive: {
      Body b(order_);
      b.w.writeByte(wire::kReplyOk);
      return {reply(b.done())};
    }
    case wire::kTaskCount: return taskCount();
    case wire::kGetTask: return describeTask(payload, n);
    case wire::kStartDownload: return streamDownload();
    case wire::kFileInfo: return fileInfo();
    case wire::kStartFile: return streamFile();
    case wire::kStartImages: return streamImage();
    default:
      if (isRpcCommand(command)) {
        if (!rpc_) rpc_ = std::make_shared<RpcSession>();
        Frames frames;
        for (const std::vector<uint8_t>& body :
             rpc_->handle(*store_, settings_.rpc, caller_, command, payload, n, order))
          frames.push_back(reply(body));
        tablesChanged();  // a device's query may write rows
        if (frames.empty()) return fail(Result::BadPacket, "RPC request " + std::to_string(command) + " cut short");
        return frames;
      }
      return fail(Result::BadPacket, "unknown command " + std::to_string(command));
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
    for (Frames frames = c.handle(data + at, length, order); !frames.empty();
         frames = c.streaming() ? c.moreFrames() : Frames())
      for (const std::vector<uint8_t>& frame : frames) out.insert(out.end(), frame.begin(), frame.end());
    at += length;
  }
  c.close();
  return out;
}

}  // namespace server
