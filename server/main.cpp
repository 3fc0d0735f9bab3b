// zeltasyncd: the synchronisation server. Serves devices on a TCP port, or
// runs one administration command, against the database named by --db (a
// SQLite file) or --pg (a PostgreSQL server).
#include <stdio.h>

#include "admin.h"
#include "command_line.h"
#include "listener.h"
#include "store.h"

int main(int argc, char** argv) {
  server::CommandLine line;
  std::string error;
  if (!server::parseCommandLine(argc, argv, line, error)) {
    fprintf(stderr, "zeltasyncd: %s\n%s", error.c_str(), server::usageText());
    return 2;
  }
  std::unique_ptr<server::Store> store = server::Store::open(line.db, line.postgres, error);
  if (!store) {
    fprintf(stderr, "zeltasyncd: cannot open %s: %s\n", line.db.c_str(), error.c_str());
    return 1;
  }
  if (line.admin) return server::runAdmin(*store, line.adminWords, stdout, stderr);
  FILE* log = stderr;
  if (!line.logFile.empty() && !(log = fopen(line.logFile.c_str(), "a"))) {
    fprintf(stderr, "zeltasyncd: cannot open the log %s\n", line.logFile.c_str());
    return 1;
  }
  store.reset();
  // Device queries open the database themselves; images go beside it
  // unless --images says where.
  server::RpcSettings& rpc = line.listener.settings.rpc;
  rpc.postgres = line.postgres;
  rpc.database = line.db;
  if (rpc.imageFolder.empty() && !line.postgres) rpc.imageFolder = line.db + ".images";
  const server::StoreOpener open = [&line](std::string& why) {
    return server::Store::open(line.db, line.postgres, why);
  };
  const int status = server::serve(line.listener, open, log);
  if (log != stderr) fclose(log);
  return status;
}
