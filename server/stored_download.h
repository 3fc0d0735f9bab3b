// Total downloads built ahead of the devices. A table's total download is
// built when the table changes and kept in the database (zs_downloads), by
// table, structure generation, version and byte order, so every server on
// the database sends it without compressing; each process's DownloadCache
// stays in front of it. A key names one state of the table: a change makes
// a new one, and a session sends kept frames only under the version it
// reads as the table's current one, and records that version as delivered.
//
// Who builds: the admin commands that change tables or queue downloads, at
// once; a server, on a thread of its own, after its sessions wrote rows
// (uploads, device queries) and when it starts; and a session that finds
// none kept, from the rows it sends.
#ifndef ZELTA_SERVER_STORED_DOWNLOAD_H
#define ZELTA_SERVER_STORED_DOWNLOAD_H

#include <stddef.h>
#include <stdint.h>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "byte_order.h"
#include "download_cache.h"
#include "store.h"

namespace server {

// Packs download rows from `next` on into at most `maxPackets` data frames
// in `order`, then the end frame once the last row went in. False when a
// packet did not fit.
bool packDownload(const std::vector<std::vector<uint8_t>>& rows, size_t& next, size_t maxPackets, wire::Order order,
                  Frames& out);

// Builds the total download of `table` in `order` from a snapshot of its
// rows and keeps it, unless the table changed meanwhile; `built` names the
// state the frames hold.
bool buildTotalDownload(Store& store, const std::string& table, wire::Order order, Frames& frames, Delivery& built,
                        std::string& error);

// Builds every total download in `order` not kept at its table's current
// version; each built one goes into `cache` too, when given.
bool buildStaleDownloads(Store& store, wire::Order order, DownloadCache* cache, std::string& error);

// A server's builder: one thread with its own connection, which builds the
// stale total downloads when started and after each poke (pokes that come
// during a build make one more build).
class DownloadBuilder {
 public:
  using Opener = std::function<std::unique_ptr<Store>(std::string& error)>;
  DownloadBuilder(Opener open, DownloadCache* cache, FILE* log);
  ~DownloadBuilder();  // after the build under way
  DownloadBuilder(const DownloadBuilder&) = delete;
  DownloadBuilder& operator=(const DownloadBuilder&) = delete;

  void poke();

 private:
  void run();

  Opener open_;
  DownloadCache* cache_;
  FILE* log_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool pending_ = true;
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace server

#endif
