// The hand-off to the installer at the end of an application that called
// SHUTDOWN: when a sync session has left files waiting in the install list
// "ZELTAINST.tLog", the installer "Rovane" is started on it and the program
// ends without waiting. Every step is appended to "inst.txt" in the
// application directory, the log the installer goes on writing:
//
//   DIRAPP=<application directory>
//   Finding EXE=<candidate>             one line per place looked at
//   EXE=<installer> OK                  the first that exists
//   CreateProcess Begin <installer> .   only when the list is waiting
//   Param=<installer> ZELTAINST.tLog <program>
//   CreateProcess OK | CreateProcess NOK
//   LOGFILE=ZELTAINST.tLog
//
// The installer is looked for in the application directory (where a sync
// session writes a new installer), then beside the program, then beside
// the run-time library (where the toolchain installs it).
#include <stdio.h>

#include <string>
#include <vector>

#include "core.h"
#include "host.h"

namespace core {

namespace {

const char* const kInstallerName = "Rovane";
const char* const kInstallList = "ZELTAINST.tLog";

std::string directoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

std::vector<std::string> installerCandidates(const std::string& appDir, const std::string& program,
                                             const std::string& runtime) {
  std::vector<std::string> dirs;
  for (const std::string& d : {appDir, directoryOf(program), directoryOf(runtime)}) {
    if (d.empty()) continue;
    bool seen = false;
    for (const std::string& e : dirs) seen = seen || e == d;
    if (!seen) dirs.push_back(d);
  }
  for (std::string& d : dirs) d += std::string("/") + kInstallerName;
  return dirs;
}

void handOverToInstaller() {
  const std::string dir = appDirectory();
  FILE* log = fopen((dir + "/inst.txt").c_str(), "a+");
  if (!log) return;
  fprintf(log, "DIRAPP=%s\n", dir.c_str());
  const std::string self = host::modulePath();
  std::string installer;
  for (const std::string& candidate : installerCandidates(dir, self, host::runtimePath())) {
    fprintf(log, "Finding EXE=%s\n", candidate.c_str());
    if (host::fileExists(candidate)) {
      installer = candidate;
      break;
    }
  }
  if (!installer.empty()) {
    fprintf(log, "EXE=%s OK\n", installer.c_str());
    if (host::fileExists(dir + "/" + kInstallList)) {
      const std::string params = installer + " " + kInstallList + " " + self;
      fprintf(log, "CreateProcess Begin %s .\nParam=%s\n", installer.c_str(), params.c_str());
      // Written before the start: the installer appends to the same file.
      fflush(log);
      const bool started = host::spawnDetached(installer, {kInstallList, self});
      fprintf(log, started ? "CreateProcess OK\n" : "CreateProcess NOK\n");
      fprintf(log, "LOGFILE=%s\n", kInstallList);
    }
  }
  fclose(log);
}

}  // namespace core
