// The network side of zeltasyncd: one event loop accepts connections and
// runs every conversation, each held to an idle time-out, with a cap on the
// connections open at once.
#ifndef ZELTA_SERVER_LISTENER_H
#define ZELTA_SERVER_LISTENER_H

#include <stdio.h>

#include <string>

#include "conversation.h"
#include "store.h"

namespace server {

struct ListenerConfig {
  std::string host = "0.0.0.0";
  int port = 8025;  // 0: any free port
  int maxConnections = 256;
  int timeoutSeconds = 120;  // longest wait for a device's next request
  Settings settings;
};

// Serves until SIGINT or SIGTERM. Prints "zeltasyncd: listening on
// HOST:PORT" on standard output once it accepts connections, and one line
// per session on `log`. Returns the process's exit status.
int serve(const ListenerConfig& config, Store& store, FILE* log);

}  // namespace server

#endif
