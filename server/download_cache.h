// Total downloads already built, kept by table, structure generation,
// version and byte order: devices that receive the same table in full share
// its packets, and a change to the table makes a new key. The oldest go
// first once the cache passes its size. The worker threads share it.
#ifndef ZELTA_SERVER_DOWNLOAD_CACHE_H
#define ZELTA_SERVER_DOWNLOAD_CACHE_H

#include <stddef.h>
#include <stdint.h>

#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "byte_order.h"

namespace server {

using Frames = std::vector<std::vector<uint8_t>>;

class DownloadCache {
 public:
  explicit DownloadCache(size_t limitBytes = 64u << 20) : limit_(limitBytes) {}

  std::shared_ptr<const Frames> find(const std::string& table, long generation, long version, wire::Order order);
  void put(const std::string& table, long generation, long version, wire::Order order, Frames frames);
  size_t bytes() {
    std::lock_guard<std::mutex> hold(mutex_);
    return bytes_;
  }

 private:
  struct Entry {
    std::string table;
    long generation, version;
    wire::Order order;
    std::shared_ptr<const Frames> frames;
    size_t bytes;
  };
  std::mutex mutex_;
  std::list<Entry> entries_;  // newest first
  size_t limit_;
  size_t bytes_ = 0;
};

}  // namespace server

#endif
