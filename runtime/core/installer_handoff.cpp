// The hand-off to the installer at the end of an application that called
// SHUTDOWN: "inst.txt" in the application directory logs each step, and the
// installer ("Rovane" beside the program) is started on the install list
// "ZELTAINST.tLog" when both are there. The program does not wait for it.
#include <stdio.h>

#include <string>

#include "core.h"
#include "host.h"

namespace core {

void handOverToInstaller() {
  const std::string dir = appDirectory();
  FILE* log = fopen((dir + "/inst.txt").c_str(), "w");
  if (!log) return;
  const std::string installer = dir + "/Rovane";
  fprintf(log, "DIRAPP=%s\n", dir.c_str());
  fprintf(log, "Finding EXE=%s\n", installer.c_str());
  if (host::fileExists(installer)) {
    fprintf(log, "EXE=%s OK\n", installer.c_str());
    const std::string installList = dir + "/ZELTAINST.tLog";
    if (host::fileExists(installList)) {
      const std::string self = host::modulePath();
      const std::string params = self + " ZELTAINST.tLog " + self;
      fprintf(log, "CreateProcess Begin %s .\nParam=%s\n", installer.c_str(), params.c_str());
      const bool started = host::spawnDetached(installer, {self, "ZELTAINST.tLog", self});
      fprintf(log, started ? "CreateProcess OK" : "CreateProcess NOK");
      fprintf(log, "LOGFILE=%s\n", (dir + "/inst.txt").c_str());
    }
  }
  fclose(log);
}

}  // namespace core
