// Load test of zeltasyncd: simulated devices log in, keep alive and say
// goodbye against one server on loopback, a fixed number at a time. Reports
// sessions per second, any refused or dropped session, and the server's
// peak resident memory. Run by hand:
//
//   build/bench/sync/sync_load build/dist/bin/zeltasyncd [devices] [at-once] [keep-alives]
//   (build with -DZELTA_BENCH=ON; TMPDIR chooses where the database lives)
//
// Each device speaks the protocol through the wire library over a blocking
// socket, as the run-time's client does, without the client's pauses.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "framing.h"
#include "packet.h"
#include "protocol.h"

namespace {

using Clock = std::chrono::steady_clock;

bool sendAll(int fd, const uint8_t* p, size_t n) {
  while (n) {
    const ssize_t rc = send(fd, p, n, MSG_NOSIGNAL);
    if (rc <= 0) return false;
    p += rc;
    n -= static_cast<size_t>(rc);
  }
  return true;
}

bool readAll(int fd, uint8_t* p, size_t n) {
  while (n) {
    const ssize_t rc = recv(fd, p, n, 0);
    if (rc <= 0) return false;
    p += rc;
    n -= static_cast<size_t>(rc);
  }
  return true;
}

bool request(int fd, const wire::PacketWriter& w) {
  uint8_t header[3];
  wire::writeClientHeader(header, static_cast<uint16_t>(w.position()), wire::Order::Big);
  return sendAll(fd, header, 3) && sendAll(fd, w.data(), w.position());
}

bool reply(int fd, std::vector<uint8_t>& body) {
  uint8_t length[2];
  if (!readAll(fd, length, 2)) return false;
  body.resize(wire::readServerLength(length, wire::Order::Big));
  return readAll(fd, body.data(), body.size());
}

enum class Outcome { Ok, Refused, Dropped };

// One device's session: login, keep-alives, goodbye.
Outcome session(int port, int device, int keepAlives) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(static_cast<uint16_t>(port));
  to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const int on = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  if (connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
    close(fd);
    return Outcome::Dropped;
  }
  uint8_t buffer[1024];
  std::vector<uint8_t> body;
  wire::LoginRequest login;
  char name[16];
  snprintf(name, sizeof name, "dev%03d", device);
  login.user = "user";
  login.device = name;
  wire::PacketWriter w(buffer, sizeof buffer, wire::Order::Big);
  wire::writeLogin(w, login);
  Outcome result = Outcome::Dropped;
  if (request(fd, w) && reply(fd, body)) {
    result = body.size() > 2 && body[2] == wire::kReplyOk ? Outcome::Ok : Outcome::Refused;
    for (int i = 0; result == Outcome::Ok && i < keepAlives; ++i) {
      wire::PacketWriter alive(buffer, sizeof buffer, wire::Order::Big);
      wire::writeRequestHead(alive, wire::kKeepAlive);
      if (!request(fd, alive) || !reply(fd, body)) result = Outcome::Dropped;
    }
    if (result == Outcome::Ok) {
      wire::PacketWriter bye(buffer, sizeof buffer, wire::Order::Big);
      wire::writeRequestHead(bye, wire::kGoodbye);
      // The server closes after the goodbye: the read sees the end.
      if (!request(fd, bye) || recv(fd, buffer, 1, 0) != 0) result = Outcome::Dropped;
    }
  }
  close(fd);
  return result;
}

long peakKilobytes(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) return atol(line.c_str() + 6);
  return -1;
}

int run(const char* command) { return system(command); }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: %s <zeltasyncd> [devices] [at-once] [keep-alives]\n", argv[0]);
    return 2;
  }
  const std::string server = argv[1];
  const int devices = argc > 2 ? atoi(argv[2]) : 100;
  const int atOnce = argc > 3 ? atoi(argv[3]) : 20;
  const int keepAlives = argc > 4 ? atoi(argv[4]) : 3;

  // The database goes under TMPDIR (default /tmp): a tmpfs there shows the
  // server without the disk's flushes.
  const char* base = getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/sync-load-XXXXXX";
  const std::string dir = mkdtemp(&pattern[0]);
  const std::string db = dir + "/sync.db";
  for (int d = 0; d < devices; ++d) {
    char command[600];
    snprintf(command, sizeof command, "'%s' admin --db '%s' add-user user dev%03d > /dev/null", server.c_str(),
             db.c_str(), d);
    if (run(command) != 0) return 1;
  }

  int out[2];
  if (pipe(out) != 0) return 1;
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], 1);
    close(out[0]);
    const std::string log = dir + "/sessions.log";
    execl(server.c_str(), server.c_str(), "--db", db.c_str(), "--host", "127.0.0.1", "--port", "0", "--log",
          log.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  std::string line;
  char c;
  while (read(out[0], &c, 1) == 1 && c != '\n') line += c;
  const int port = atoi(line.c_str() + line.rfind(':') + 1);
  if (port <= 0) {
    fprintf(stderr, "the server did not start: %s\n", line.c_str());
    return 1;
  }
  const long idleKb = peakKilobytes(pid);

  std::atomic<int> next{0}, ok{0}, refused{0}, dropped{0};
  const Clock::time_point start = Clock::now();
  std::vector<std::thread> workers;
  for (int t = 0; t < atOnce; ++t)
    workers.emplace_back([&] {
      for (int d; (d = next++) < devices;) {
        switch (session(port, d, keepAlives)) {
          case Outcome::Ok: ++ok; break;
          case Outcome::Refused: ++refused; break;
          case Outcome::Dropped: ++dropped; break;
        }
      }
    });
  for (std::thread& w : workers) w.join();
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  const long peakKb = peakKilobytes(pid);
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);

  printf("devices %d, %d at a time, %d keep-alives each\n", devices, atOnce, keepAlives);
  printf("sessions ok %d, refused %d, dropped %d\n", ok.load(), refused.load(), dropped.load());
  printf("wall %.3f s, %.0f sessions/s\n", seconds, devices / seconds);
  printf("server peak resident %ld kB (%ld kB before the load)\n", peakKb, idleKb);
  const std::string clean = "rm -rf '" + dir + "'";
  run(clean.c_str());
  return ok == devices ? 0 : 1;
}
