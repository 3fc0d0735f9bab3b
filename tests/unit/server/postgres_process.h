// A throw-away PostgreSQL server for tests: initdb into a temporary folder,
// started on a free loopback port with fsync off, stopped and removed when
// the object goes. PostgreSQL refuses to run as root, so under root the
// commands run as the postgres user. start() says why when it cannot.
#ifndef ZELTA_TESTS_POSTGRES_PROCESS_H
#define ZELTA_TESTS_POSTGRES_PROCESS_H

#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

class PostgresProcess {
 public:
  ~PostgresProcess() { stop(); }

  bool start(std::string& why) {
    const std::string bin = binDir();
    if (bin.empty() || access((bin + "/initdb").c_str(), X_OK) != 0) {
      why = "no PostgreSQL server programs (the postgresql package)";
      return false;
    }
    char pattern[] = "/tmp/zelta-pg-XXXXXX";
    if (!mkdtemp(pattern)) return fail(why, "no temporary folder");
    dir_ = pattern;
    port_ = freePort();
    if (geteuid() == 0 && run("chown postgres '" + dir_ + "'") != 0)
      return fail(why, "cannot hand the folder to postgres");
    if (run(asOwner("'" + bin + "/initdb' -D '" + dir_ + "/data' -U postgres -A trust --no-sync > '" + dir_ +
                    "/initdb.log' 2>&1")) != 0)
      return fail(why, "initdb failed (see " + dir_ + "/initdb.log)");
    const std::string options = "-p " + std::to_string(port_) + " -k " + dir_ +
                                " -c listen_addresses=127.0.0.1 -c fsync=off -c full_page_writes=off"
                                " -c max_connections=200";
    if (run(asOwner("'" + bin + "/pg_ctl' -D '" + dir_ + "/data' -o '" + options + "' -l '" + dir_ +
                    "/server.log' -w -t 60 start > /dev/null 2>&1")) != 0)
      return fail(why, "the server did not start (see " + dir_ + "/server.log)");
    started_ = true;
    return true;
  }

  // A fresh database on the server; its connection string.
  std::string newDatabase(const std::string& name) {
    run(asOwner("'" + binDir() + "/createdb' -h 127.0.0.1 -p " + std::to_string(port_) + " -U postgres " + name));
    return address(name);
  }
  std::string address(const std::string& name) const {
    return "host=127.0.0.1 port=" + std::to_string(port_) + " user=postgres dbname=" + name;
  }

  void stop() {
    if (started_)
      run(asOwner("'" + binDir() + "/pg_ctl' -D '" + dir_ + "/data' -m immediate -w stop > /dev/null 2>&1"));
    started_ = false;
    if (!dir_.empty()) run("rm -rf '" + dir_ + "'");
    dir_.clear();
  }

 private:
  static int run(const std::string& command) { return system(command.c_str()); }
  static std::string asOwner(const std::string& command) {
    if (geteuid() != 0) return command;
    std::string quoted;
    for (char c : command) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return "runuser -u postgres -- sh -c '" + quoted + "'";
  }
  static std::string binDir() {
    FILE* p = popen("pg_config --bindir 2>/dev/null", "r");
    char line[512] = {0};
    if (p) {
      if (!fgets(line, sizeof line, p)) line[0] = 0;
      pclose(p);
    }
    std::string dir = line;
    while (!dir.empty() && (dir.back() == '\n' || dir.back() == ' ')) dir.pop_back();
    if (!dir.empty() && access((dir + "/initdb").c_str(), X_OK) == 0) return dir;
    // libpq's pg_config may name another version's folder.
    FILE* g = popen("ls -d /usr/lib/postgresql/*/bin 2>/dev/null | tail -1", "r");
    line[0] = 0;
    if (g) {
      if (!fgets(line, sizeof line, g)) line[0] = 0;
      pclose(g);
    }
    dir = line;
    while (!dir.empty() && dir.back() == '\n') dir.pop_back();
    return dir;
  }
  static int freePort() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t n = sizeof a;
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &n);
    close(s);
    return ntohs(a.sin_port);
  }
  bool fail(std::string& why, const std::string& text) {
    why = text;
    return false;
  }

  std::string dir_;
  int port_ = 0;
  bool started_ = false;
};

#endif
