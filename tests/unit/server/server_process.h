// A real zeltasyncd for tests: started on a free loopback port with a fresh
// database in a temporary folder, stopped (SIGTERM) when the object goes.
// Its session log is a file the test can read.
#ifndef ZELTA_TESTS_SERVER_PROCESS_H
#define ZELTA_TESTS_SERVER_PROCESS_H

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

class ServerProcess {
 public:
  // A fresh folder holding sync.db and sessions.log.
  ServerProcess() {
    char pattern[] = "/tmp/zeltasyncd-test-XXXXXX";
    dir_ = mkdtemp(pattern);
  }
  ~ServerProcess() {
    stop();
    std::string command = "rm -rf '" + dir_ + "'";
    if (system(command.c_str()) != 0) {}
  }
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  std::string db() const { return dir_ + "/sync.db"; }
  // Serve (and administer) the PostgreSQL database at `address` instead.
  void usePostgres(const std::string& address) { pg_ = address; }
  // Serve (and administer) the database of `other`: two servers on one file.
  void useDatabaseOf(const ServerProcess& other) { shared_ = other.dbOption(); }
  std::vector<std::string> dbOption() const {
    if (!shared_.empty()) return shared_;
    return pg_.empty() ? std::vector<std::string>{"--db", db()} : std::vector<std::string>{"--pg", pg_};
  }
  std::string logPath() const { return dir_ + "/sessions.log"; }
  const std::string& dir() const { return dir_; }

  // Runs `zeltasyncd admin --db <db> words...`; its exit status, output in `out`.
  int admin(const std::vector<std::string>& words, std::string* out = nullptr) {
    const std::vector<std::string> option = dbOption();
    std::string command = std::string(ZELTASYNCD) + " admin " + option[0] + " '" + option[1] + "'";
    for (const std::string& w : words) command += " '" + w + "'";
    command += " 2>&1";
    FILE* p = popen(command.c_str(), "r");
    std::string text;
    char chunk[512];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, p)) > 0) text.append(chunk, n);
    const int status = pclose(p);
    if (out) *out = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // Starts the server with extra options; false when it did not come up.
  bool start(const std::vector<std::string>& options = {}) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return false;
    const std::vector<std::string> option = dbOption();
    std::vector<std::string> args = {ZELTASYNCD, option[0], option[1], "--host", "127.0.0.1",
                                     "--port",   "0",       "--log",   logPath()};
    args.insert(args.end(), options.begin(), options.end());
    pid_ = fork();
    if (pid_ == 0) {
      dup2(pipeFds[1], 1);
      close(pipeFds[0]);
      close(pipeFds[1]);
      std::vector<char*> argv;
      for (std::string& a : args) argv.push_back(&a[0]);
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(pipeFds[1]);
    std::string line;
    char c;
    while (read(pipeFds[0], &c, 1) == 1 && c != '\n') line += c;
    close(pipeFds[0]);
    const size_t colon = line.rfind(':');
    if (line.find("listening on") == std::string::npos || colon == std::string::npos) return false;
    port_ = atoi(line.c_str() + colon + 1);
    return port_ > 0;
  }

  void stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status;
    waitpid(pid_, &status, 0);
    pid_ = -1;
  }

  int port() const { return port_; }

  std::string log() const {
    std::ifstream in(logPath());
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  // Waits until the log holds `count` lines (sessions end asynchronously).
  std::string waitForSessions(size_t count, int ms = 5000) const {
    std::string text;
    for (int waited = 0; waited < ms; waited += 10) {
      text = log();
      size_t lines = 0;
      for (char ch : text) lines += ch == '\n';
      if (lines >= count) break;
      usleep(10000);
    }
    return text;
  }

 private:
  std::string dir_;
  std::string pg_;
  std::vector<std::string> shared_;
  pid_t pid_ = -1;
  int port_ = 0;
};

#endif
