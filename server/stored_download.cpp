// Total downloads built ahead (see stored_download.h).
#include "stored_download.h"

#include <stdio.h>

#include <algorithm>

#include "framing.h"
#include "reply_body.h"
#include "sync_packets.h"
#include "table_def.h"

namespace server {

namespace {

// Rows per packet: a packet's rows stay well inside what a device inflates.
constexpr size_t kPacketRows = 11000;
// zlib level of download packets: level 5 packs the tables' rows within 3% of
// level 6's size in half the time.
constexpr int kLevel = 5;

std::vector<uint8_t> frameOf(const uint8_t* body, size_t n, wire::Order order) {
  std::vector<uint8_t> frame(wire::kServerHeaderSize + n);
  wire::writeServerLength(frame.data(), static_cast<uint16_t>(n), order);
  std::copy(body, body + n, frame.begin() + wire::kServerHeaderSize);
  return frame;
}

}  // namespace

bool packDownload(const std::vector<std::vector<uint8_t>>& all, size_t& next, size_t maxPackets, wire::Order order,
                  Frames& out) {
  std::vector<uint8_t> rows, packet(wire::kBufferSize);
  rows.reserve(kPacketRows);
  for (size_t made = 0; next < all.size() && made < maxPackets; ++made) {
    uint16_t count = 0;
    rows.clear();
    for (; next < all.size() && count < 0xffff; ++next, ++count) {
      const std::vector<uint8_t>& row = all[next];
      if (count > 0 && rows.size() + row.size() > kPacketRows) break;
      const size_t at = rows.size();
      rows.insert(rows.end(), row.begin(), row.end());
      wire::put16(&rows[at], static_cast<uint16_t>(row.size()), order);  // the row length in the device's order
    }
    const wire::Deflated p =
        wire::buildDownloadPacket(rows.data(), rows.size(), count, packet.data(), wire::kMaxPayload, order, kLevel);
    if (p.status != wire::DeflateStatus::Ok) return false;
    out.push_back(frameOf(packet.data(), p.size, order));
  }
  if (next < all.size()) return true;
  Body end(order);
  end.w.writeByte(11);
  end.w.writeByte(0);
  const std::vector<uint8_t> body = end.done();
  out.push_back(frameOf(body.data(), body.size(), order));
  return true;
}

bool buildTotalDownload(Store& store, const std::string& table, wire::Order order, Frames& frames, Delivery& built,
                        std::string& error) {
  frames.clear();
  Task task;
  task.table = table;
  Download d;
  if (!store.download("", "", task, d, error)) return false;
  size_t next = 0;
  if (!packDownload(d.rows, next, d.rows.size() + 1, order, frames)) {
    error = "a packet of " + table + " did not fit";
    return false;
  }
  built = d.delivery;
  bool kept = false;
  return store.keepDownload(built, order, frames, kept, error);
}

bool buildStaleDownloads(Store& store, wire::Order order, DownloadCache* cache, std::string& error) {
  std::vector<std::string> tables;
  if (!store.downloadsToBuild(order, tables, error)) return false;
  for (const std::string& table : tables) {
    Frames frames;
    Delivery built;
    if (!buildTotalDownload(store, table, order, frames, built, error)) {
      error = "the total download of " + table + ": " + error;
      return false;
    }
    if (cache) cache->put(table, built.generation, built.version, order, std::move(frames));
  }
  return true;
}

DownloadBuilder::DownloadBuilder(Opener open, DownloadCache* cache, FILE* log)
    : open_(std::move(open)), cache_(cache), log_(log), thread_([this] { run(); }) {}

DownloadBuilder::~DownloadBuilder() {
  {
    std::lock_guard<std::mutex> hold(mutex_);
    stop_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void DownloadBuilder::poke() {
  {
    std::lock_guard<std::mutex> hold(mutex_);
    pending_ = true;
  }
  wake_.notify_one();
}

void DownloadBuilder::run() {
  std::unique_ptr<Store> store;
  std::unique_lock<std::mutex> hold(mutex_);
  for (;;) {
    wake_.wait(hold, [this] { return pending_ || stop_; });
    if (stop_) return;
    pending_ = false;
    hold.unlock();
    std::string error;
    if (!store) store = open_(error);
    // A failure waits for the next poke; sessions meanwhile build their own.
    if (!store || !buildStaleDownloads(*store, wire::Order::Big, cache_, error)) {
      if (log_) fprintf(log_, "zeltasyncd: building total downloads: %s\n", error.c_str());
      store.reset();
    }
    hold.lock();
  }
}

}  // namespace server
