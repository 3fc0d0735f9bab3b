// Rovane, the installer: started by an application that ended with files
// waiting in its install list, as `Rovane <list> <program>`. One Rovane runs
// per application directory (its lock file there stands for its window);
// a second one ends at once. The exit code is always 0: every failure is a
// line of "inst.txt".
#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "core.h"
#include "host.h"
#include "install_run.h"

namespace {

// A run-time error in the store must not end the run with the fatal-error
// exit: it is logged like every other failure and the run ends.
[[noreturn]] void logFatal(int, int, const std::string& report) {
  const std::string dir = core::appDirectory();
  if (FILE* log = fopen((dir + "/" + installer::kLogFile).c_str(), "a+")) {
    fprintf(log, "%s\n\nInstall END\n", report.c_str());
    fclose(log);
  }
  core::host::exitNow(0);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> words;
  for (int i = 1; i < argc; ++i) words.push_back(argv[i]);
  const installer::Arguments args = installer::splitArguments(words);
  installer::Options options;
  options.appDir =
      installer::applicationDirectory(core::host::environment("ZELTA_APPDIR"), args.program, core::host::modulePath());
  // The store and the restarted program find the same directory.
  setenv("ZELTA_APPDIR", options.appDir.c_str(), 1);
  if (core::host::lockInstance(core::instanceLockPath(options.appDir, "Rovane")) == core::host::InstanceLock::Busy)
    return 0;
  core::setFatalTrap(logFatal);
  installer::run(args, options);
  return 0;
}
