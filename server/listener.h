// The network side of zeltasyncd: one event loop accepts connections and
// moves their bytes; the conversations' work on the store runs on a pool of
// worker threads, each with its own connection to the database. Every
// connection is held to an idle time-out, with a cap on the connections open
// at once.
#ifndef ZELTA_SERVER_LISTENER_H
#define ZELTA_SERVER_LISTENER_H

#include <stdio.h>

#include <functional>
#include <memory>
#include <string>

#include "conversation.h"
#include "store.h"

namespace server {

struct ListenerConfig {
  std::string host = "0.0.0.0";
  int port = 8025;  // 0: any free port
  int maxConnections = 256;
  int timeoutSeconds = 120;  // longest wait for a device's next request
  // Threads that run the store's work; 0: the event loop itself. Workers pay
  // where each query waits on the network (PostgreSQL on another machine);
  // next to the database they only add contention.
  int workers = 0;
  Settings settings;
};

// Opens one more connection to the server's database (one per worker); null
// with the reason in `error`.
using StoreOpener = std::function<std::unique_ptr<Store>(std::string& error)>;

// Serves until SIGINT or SIGTERM. Prints "zeltasyncd: listening on
// HOST:PORT" on standard output once it accepts connections, and one line
// per session on `log`. Returns the process's exit status.
int serve(const ListenerConfig& config, const StoreOpener& open, FILE* log);

}  // namespace server

#endif
