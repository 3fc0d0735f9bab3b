// zeltasyncd: the synchronisation server. Serves devices on a TCP port, or
// runs one administration command, against the database named by --db.
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
  std::unique_ptr<server::Store> store = server::openSqliteStore(line.db, error);
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
  const int status = server::serve(line.listener, *store, log);
  if (log != stderr) fclose(log);
  return status;
}
