// The install run of Rovane: waits for the application to end, moves each
// downloaded file of the install list into place with a backup of the file
// it replaces, logs every step to "inst.txt" and starts the application
// again. main.cpp takes the single-instance lock and settles the
// application directory; everything after that is here.
#ifndef ZELTA_INSTALLER_INSTALL_RUN_H
#define ZELTA_INSTALLER_INSTALL_RUN_H

#include <string>
#include <vector>

namespace installer {

constexpr const char* kDefaultList = "ZELTAINST.tLog";
constexpr const char* kLogFile = "inst.txt";
constexpr const char* kBackupSuffix = ".bak";

// PARAM1 (the list database, "ZELTAINST.tLog" when empty) and PARAM2 (the
// program to start at the end: every further word, joined by blanks).
struct Arguments {
  std::string list;
  std::string program;
};
// `words` are the command line after the program's own name.
Arguments splitArguments(const std::vector<std::string>& words);

// The application directory: ZELTA_APPDIR (`fromEnvironment`) when given,
// else the directory of the program to restart, else the installer's own
// directory; made absolute when it exists.
std::string applicationDirectory(const char* fromEnvironment, const std::string& program,
                                 const std::string& installerPath);

struct Options {
  std::string appDir;      // absolute; holds the log, the list and the lock files
  int checks = 40;         // looks at the application's instance lock ...
  int checkDelayMs = 200;  // ... this far apart
  int settleMs = 2000;     // after the list is opened
  int finishMs = 500;      // after the last record, and again at the end
  void (*sleep)(int ms);
  bool (*applicationRunning)(const std::string& appDir);
  bool (*rename)(const std::string& from, const std::string& to);
  // Starts the program; false when it could not be started.
  bool (*start)(const std::string& program, long* processId);
  Options();
};

enum class Outcome {
  noLog,         // "inst.txt" could not be opened: nothing was done
  stillRunning,  // the application did not end in time: nothing was moved
  listMissing,
  listUnopened,
  stopped,  // a record could not be read; the list is left as it was
  done,     // every record was worked through
};

struct Result {
  Outcome outcome = Outcome::noLog;
  int installed = 0;
  int failed = 0;   // kept in the list for the next run
  int dropped = 0;  // records that could never be installed
  bool restarted = false;
};

// The download path a list record names, made absolute and checked: it ends
// in "_", has a name before it, no ".." part, and lies under one of `dirs`
// (absolute, no trailing '/'). "" when the record cannot be installed.
std::string checkedDownload(const std::string& recorded, const std::string& appDir,
                            const std::vector<std::string>& dirs);

// One install run; Rovane's exit code is 0 whatever the outcome. The store
// (__BeginGlobal) is opened only once the application has ended.
Result run(const Arguments& args, const Options& options);

}  // namespace installer

#endif
