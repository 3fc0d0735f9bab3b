// The RPC requests of a device (rpc.h; packets drawn in wire/rpc_packets.h).
//
// Images arrive as blocks of one file, each packet naming the file and its
// size; the blocks go to "<name>.part" in the device's folder and the file
// takes its name when the last byte arrived. Names are plain file names
// (letters, digits, '.', '-', '_'), never a path.
#include "rpc.h"

#include <ctype.h>
#include <stdio.h>

#include <filesystem>

#include "framing.h"
#include "protocol.h"
#include "reply_body.h"
#include "rpc_functions.h"
#include "rpc_packets.h"
#include "rpc_query.h"
#include "sync_packets.h"

namespace server {

struct ImageUpload {
  std::string name;
  uint32_t size = 0;
  uint32_t received = 0;
  std::filesystem::path part;
  FILE* file = nullptr;
  ~ImageUpload() { discard(); }
  void discard() {
    if (file) fclose(file);
    file = nullptr;
    if (!part.empty()) {
      std::error_code ignored;
      std::filesystem::remove(part, ignored);
    }
    part.clear();
  }
};

namespace {

using Bodies = std::vector<std::vector<uint8_t>>;

constexpr size_t kPacketRows = 11000;

bool plainName(const std::string& name) {
  if (name.empty() || name.size() > 64 || name[0] == '.') return false;
  for (char c : name)
    if (!isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-' && c != '_') return false;
  return true;
}

std::string folderName(const std::string& device) {
  std::string out;
  for (char c : device.substr(0, 64)) out += isalnum(static_cast<unsigned char>(c)) || c == '-' ? c : '_';
  return out.empty() || out[0] == '.' ? "_" + out : out;
}

// A select's rows: the head, download packets, the end.
Bodies resultSet(const QueryResult& q, wire::Order order) {
  Bodies out;
  Body head(order);
  if (!wire::writeResultHead(head.w, q.fields, static_cast<int32_t>(q.rows.size())))
    return {statusReply(0, "the result set cannot be sent: more than 500 fields or a field too large", order)};
  out.push_back(head.done());
  std::vector<uint8_t> rows, packet(wire::kBufferSize), record;
  uint16_t count = 0;
  bool failed = false;
  auto flush = [&] {
    if (count == 0) return;
    const wire::Deflated p =
        wire::buildDownloadPacket(rows.data(), rows.size(), count, packet.data(), wire::kMaxPayload, order);
    if (p.status != wire::DeflateStatus::Ok) failed = true;
    out.emplace_back(packet.begin(), packet.begin() + static_cast<long>(p.size));
    rows.clear();
    count = 0;
  };
  for (const wire::Row& row : q.rows) {
    record.assign(wire::kRowPrefix, 0);
    record[2] = 1;
    wire::appendStoredRecord(q.fields, row, record);
    if (record.size() > kPacketRows) {
      failed = true;
      break;
    }
    wire::put16(record.data(), static_cast<uint16_t>(record.size()), order);
    if (rows.size() + record.size() > kPacketRows) flush();
    rows.insert(rows.end(), record.begin(), record.end());
    ++count;
  }
  flush();
  Body end(order);
  if (failed) {
    // The device has the head already: the stream ends with the error.
    out.resize(1);
    end.w.writeByte(wire::kStreamError);
    end.w.writeByte(0);
    end.w.writeString("server: a row of the result set is too long");
  } else {
    end.w.writeByte(wire::kStreamEnd);
    end.w.writeByte(0);
  }
  out.push_back(end.done());
  return out;
}

}  // namespace

bool isRpcCommand(uint8_t c) {
  return c == wire::kRpcCall || c == wire::kRpcWrite || c == wire::kRpcXml || c == wire::kRpcSelect ||
         c == wire::kAdminList || c == wire::kAdminRun || c == wire::kRpcImage;
}

std::vector<uint8_t> statusReply(uint8_t status, const std::string& text, wire::Order order) {
  Body b(order);
  b.w.writeByte(status);
  b.w.writeString(text.substr(0, 11000));
  return b.done();
}

RpcSession::RpcSession() = default;
RpcSession::~RpcSession() = default;

std::vector<std::vector<uint8_t>> RpcSession::handle(Store& store, const RpcSettings& settings, const RpcCaller& caller,
                                                     uint8_t command, const uint8_t* payload, size_t n,
                                                     wire::Order order) {
  wire::PacketReader r(payload, n, order, 3);
  switch (command) {
    case wire::kRpcCall: {
      const uint8_t kind = r.readByte();
      const uint16_t size = r.readUShort();
      const std::string_view data = r.readBytes(size);
      if (!r.ok() || (kind != wire::kCallGeneral && kind != wire::kCallNamed)) return {};
      const uint8_t* bytes = reinterpret_cast<const uint8_t*>(data.data());
      std::vector<uint8_t> plain;
      if (!wire::inflateFlushed(bytes, data.size(), plain, 65536)) plain.assign(bytes, bytes + data.size());
      std::vector<std::string> texts = wire::splitTexts(plain.data(), plain.size());
      texts.resize(3);
      FunctionCall call{caller.user, caller.device, {}, {}};
      if (kind == wire::kCallGeneral) {
        call.name = texts[0];
        call.arguments = {texts[1], texts[2]};
      } else {
        call.name = texts[1];
        call.arguments = {texts[2]};
      }
      std::string reply;
      const bool ok = callFunction(store, call, reply);
      return {statusReply(ok ? wire::kReplyOk : 0, reply, order)};
    }
    case wire::kRpcWrite:
    case wire::kRpcSelect:
    case wire::kRpcXml: {
      const std::string statement(r.readString());
      if (command == wire::kRpcXml) return {statusReply(0, "this server answers no XML requests", order)};
      if (settings.database.empty()) return {statusReply(0, "this server answers no queries", order)};
      std::string error;
      if (!queries_ &&
          !(queries_ = settings.postgres ? QueryDatabase::openPostgres(settings.database, settings.queryRole, error)
                                         : QueryDatabase::open(settings.database, error)))
        return {statusReply(0, "the server cannot open its tables: " + error, order)};
      std::vector<TableDef> tables;
      if (!store.tables(tables, error)) return {statusReply(0, "the server cannot read its tables", order)};
      const QueryResult q =
          queries_->run(statement, command == wire::kRpcSelect, tables, "rpc:" + caller.user + "/" + caller.device);
      if (!q.ok) return {statusReply(0, "refused: " + q.error, order)};
      if (command == wire::kRpcWrite) return {statusReply(wire::kReplyOk, std::to_string(q.changed), order)};
      return resultSet(q, order);
    }
    case wire::kAdminList: {
      if (!caller.admin) return {statusReply(0, "not logged in as an administrator", order)};
      std::vector<Operation> ops;
      std::string error;
      if (!listOperations(store, caller.adminId, ops, error)) return {statusReply(0, error, order)};
      Body b(order);
      b.w.writeInt(static_cast<int32_t>(ops.size()));
      for (const Operation& o : ops) {
        b.w.writeInt(static_cast<int32_t>(o.id));
        b.w.writeString(o.name);
        b.w.writeString(o.description);
        b.w.writeInt(0);
      }
      if (!b.w.ok()) return {statusReply(0, "too many operations", order)};
      return {b.done()};
    }
    case wire::kAdminRun: {
      const int32_t number = r.readInt();
      if (!r.ok()) return {};
      if (!caller.admin) return {statusReply(0, "not logged in as an administrator", order)};
      std::vector<Operation> ops;
      std::string error;
      if (!listOperations(store, caller.adminId, ops, error)) return {statusReply(0, error, order)};
      for (const Operation& o : ops) {
        if (o.id != number) continue;
        std::string reply;
        const bool ok = callFunction(store, {caller.user, caller.device, o.function, o.arguments}, reply);
        return {statusReply(ok ? wire::kReplyOk : 0, reply, order)};
      }
      return {statusReply(0, "no operation " + std::to_string(number), order)};
    }
    case wire::kRpcImage: {
      const uint32_t size = r.readUInt();
      const std::string name(r.readString());
      const uint32_t length = r.readUInt();
      const std::string_view data = r.readBytes(length);
      if (!r.ok()) return {};
      if (!plainName(name) || size == 0) return {statusReply(0, "not an image name: " + name, order)};
      if (settings.imageFolder.empty()) return {statusReply(0, "this server keeps no images", order)};
      if (!image_ || image_->name != name || image_->size != size) {
        image_ = std::make_unique<ImageUpload>();
        image_->name = name;
        image_->size = size;
        const std::filesystem::path folder = std::filesystem::path(settings.imageFolder) / folderName(caller.device);
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        image_->part = folder / (name + ".part");
        image_->file = fopen(image_->part.c_str(), "wb");
        if (!image_->file) {
          image_.reset();
          return {statusReply(0, "the server cannot write the image", order)};
        }
      }
      ImageUpload& u = *image_;
      if (static_cast<uint64_t>(u.received) + length > u.size) {
        image_.reset();
        return {statusReply(0, "the image is longer than its size", order)};
      }
      if (fwrite(data.data(), 1, data.size(), u.file) != data.size()) {
        image_.reset();
        return {statusReply(0, "the server cannot write the image", order)};
      }
      u.received += length;
      if (u.received == u.size) {
        const bool closed = fclose(u.file) == 0;
        u.file = nullptr;
        std::error_code ec;
        if (closed) std::filesystem::rename(u.part, u.part.parent_path() / u.name, ec);
        if (!closed || ec) {
          image_.reset();
          return {statusReply(0, "the server cannot keep the image", order)};
        }
        u.part.clear();
        image_.reset();
      }
      return {statusReply(wire::kReplyOk, "", order)};
    }
    default: return {};
  }
}

}  // namespace server
