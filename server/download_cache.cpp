// The cache of total downloads (see download_cache.h).
#include "download_cache.h"

namespace server {

std::shared_ptr<const Frames> DownloadCache::find(const std::string& table, long generation, long version,
                                                  wire::Order order) {
  std::lock_guard<std::mutex> hold(mutex_);
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if (it->table != table || it->generation != generation || it->version != version || it->order != order) continue;
    entries_.splice(entries_.begin(), entries_, it);
    return entries_.front().frames;
  }
  return nullptr;
}

void DownloadCache::put(const std::string& table, long generation, long version, wire::Order order, Frames frames) {
  size_t n = 0;
  for (const std::vector<uint8_t>& f : frames) n += f.size();
  if (n > limit_) return;
  std::lock_guard<std::mutex> hold(mutex_);
  // An older version of the table will not be asked for again.
  for (auto it = entries_.begin(); it != entries_.end();) {
    if (it->table == table && it->order == order) {
      bytes_ -= it->bytes;
      it = entries_.erase(it);
    } else {
      ++it;
    }
  }
  entries_.push_front({table, generation, version, order, std::make_shared<const Frames>(std::move(frames)), n});
  bytes_ += n;
  while (bytes_ > limit_ && !entries_.empty()) {
    bytes_ -= entries_.back().bytes;
    entries_.pop_back();
  }
}

}  // namespace server
