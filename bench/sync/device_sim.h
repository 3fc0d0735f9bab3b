// A simulated device for the server's benchmarks: it speaks the protocol
// through the wire library over a blocking loopback socket, as the run-time's
// client does, without the client's pauses, and can start a zeltasyncd and
// read its peak memory.
#ifndef ZELTA_BENCH_DEVICE_SIM_H
#define ZELTA_BENCH_DEVICE_SIM_H

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

#include <chrono>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "framing.h"
#include "packet.h"
#include "protocol.h"
#include "sync_packets.h"
#include "table_rows.h"
#include "zlib_codec.h"

namespace sim {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;

inline double seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

class Device {
 public:
  bool connect(int port) {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(port));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const int on = 1;
    setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return ::connect(fd_, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
  }
  ~Device() {
    if (fd_ >= 0) close(fd_);
  }

  bool send(const uint8_t* payload, size_t n) {
    uint8_t header[3];
    wire::writeClientHeader(header, static_cast<uint16_t>(n), wire::Order::Big);
    return all(header, 3) && all(payload, n);
  }
  bool command(uint8_t c, const std::string& text = std::string(), bool withText = false) {
    uint8_t buffer[64];
    wire::PacketWriter w(buffer, sizeof buffer, wire::Order::Big);
    wire::writeRequestHead(w, c);
    if (withText) w.writeString(text);
    return send(buffer, w.position());
  }
  // One reply body; false when the server closed.
  bool reply(Bytes& body) {
    uint8_t length[2];
    if (!readAll(length, 2)) return false;
    body.resize(wire::readServerLength(length, wire::Order::Big));
    return readAll(body.data(), body.size());
  }
  bool login(const std::string& user, const std::string& device) {
    uint8_t buffer[1024];
    wire::PacketWriter w(buffer, sizeof buffer, wire::Order::Big);
    wire::LoginRequest l;
    l.user = user;
    l.device = device;
    wire::writeLogin(w, l);
    Bytes body;
    return send(buffer, w.position()) && reply(body) && body.size() > 2 && body[2] == wire::kReplyOk;
  }
  int taskCount() {
    Bytes body;
    if (!command(wire::kTaskCount) || !reply(body) || body.size() < 3) return -1;
    return atoi(reinterpret_cast<const char*>(body.data() + 2));
  }
  struct Task {
    int type = 0;
    std::string table;
    long count = 0;
    char mode = 0;
  };
  bool task(int n, Task& t) {
    Bytes body;
    if (!command(wire::kGetTask, std::to_string(n), true) || !reply(body) || body.size() < 5 ||
        body[2] != wire::kReplyOk)
      return false;
    wire::PacketReader r(body.data(), body.size(), wire::Order::Big, 3);
    t.type = r.readByte();
    r.readByte();
    t.table = std::string(r.readString());
    if (t.type == 1) {
      t.count = r.readInt();
      t.mode = static_cast<char>(r.readByte());
    }
    return r.ok();
  }
  // Receives a download stream; inflates and reads its rows when `fields`
  // is given, adding the time zlib took to `inflateSeconds`.
  long download(const std::vector<wire::FieldDef>* fields, double& inflateSeconds,
                std::vector<Bytes>* packets = nullptr) {
    if (!command(wire::kStartDownload)) return -1;
    long rows = 0;
    Bytes body;
    std::vector<uint8_t> plain(wire::kBufferSize);
    for (;;) {
      if (!reply(body) || body.size() < 4) return -1;
      if (body[2] == 11 || body[3] == 17) return rows;
      if (body[2] != 12) return -1;
      if (packets) packets->push_back(body);
      const Clock::time_point start = Clock::now();
      const wire::Inflated i = wire::inflateLimited(body.data() + 10, body.size() - 10, plain.data(), plain.size());
      inflateSeconds += seconds(start);
      if (i.status != wire::InflateStatus::Complete) return -1;
      for (size_t at = 0; at < i.size;) {
        const size_t n = wire::get16(&plain[at], wire::Order::Big);
        if (fields) {
          wire::Row row;
          if (!wire::readStoredRecord(*fields, &plain[at + 3], n - 3, row)) return -1;
        }
        at += n;
        ++rows;
      }
    }
  }
  // Sends rows as upload packets of about 11,000 bytes; each must be
  // acknowledged. Adds the time zlib took to `deflateSeconds`.
  bool upload(const std::vector<wire::FieldDef>& fields, const std::vector<wire::Row>& rows, double& deflateSeconds) {
    Bytes data, packet(wire::kBufferSize), body;
    uint16_t count = 0;
    auto flush = [&]() {
      if (count == 0) return true;
      const Clock::time_point start = Clock::now();
      const wire::Deflated d =
          wire::buildUploadPacket(data.data(), data.size(), count, packet.data(), wire::kMaxPayload, wire::Order::Big);
      deflateSeconds += seconds(start);
      if (d.status != wire::DeflateStatus::Ok || !send(packet.data(), d.size) || !reply(body) || body.size() < 3 ||
          body[2] != wire::kReplyOk)
        return false;
      data.clear();
      count = 0;
      return true;
    };
    for (const wire::Row& r : rows) {
      if (data.size() > wire::kMaxPayload - 1024 && !flush()) return false;
      wire::appendUploadRow(fields, r, data);
      ++count;
    }
    return flush();
  }
  bool goodbye() {
    uint8_t b;
    return command(wire::kGoodbye) && recv(fd_, &b, 1, 0) == 0;
  }

 private:
  bool all(const uint8_t* p, size_t n) {
    while (n) {
      const ssize_t rc = ::send(fd_, p, n, MSG_NOSIGNAL);
      if (rc <= 0) return false;
      p += rc;
      n -= static_cast<size_t>(rc);
    }
    return true;
  }
  bool readAll(uint8_t* p, size_t n) {
    while (n) {
      const ssize_t rc = recv(fd_, p, n, 0);
      if (rc <= 0) return false;
      p += rc;
      n -= static_cast<size_t>(rc);
    }
    return true;
  }
  int fd_ = -1;
};

// A zeltasyncd on a free loopback port.
class Server {
 public:
  Server(const std::string& program, const std::vector<std::string>& dbOption, const std::string& log) {
    int out[2];
    if (pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], 1);
      close(out[0]);
      std::vector<std::string> args = {program,  dbOption[0], dbOption[1], "--host", "127.0.0.1",
                                       "--port", "0",         "--log",     log};
      std::vector<char*> argv;
      for (std::string& a : args) argv.push_back(&a[0]);
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(out[1]);
    std::string line;
    char c;
    while (read(out[0], &c, 1) == 1 && c != '\n') line += c;
    close(out[0]);
    const size_t colon = line.rfind(':');
    port_ = colon == std::string::npos ? 0 : atoi(line.c_str() + colon + 1);
  }
  ~Server() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  int port() const { return port_; }
  // Processor time (user + system) the server used so far: less at the
  // mercy of the machine's load than wall time.
  double cpuSeconds() const {
    std::ifstream stat("/proc/" + std::to_string(pid_) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const size_t close = text.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream fields(text.substr(close + 2));
    std::string f;
    double ticks = 0;
    for (int i = 3; i <= 15 && fields >> f; ++i)
      if (i == 14 || i == 15) ticks += atof(f.c_str());
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
  }
  long peakKilobytes() const {
    std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
    for (std::string line; std::getline(status, line);)
      if (line.rfind("VmHWM:", 0) == 0) return atol(line.c_str() + 6);
    return -1;
  }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};

inline int run(const std::string& command) { return system(command.c_str()); }

// The fields of the shared dbf benchmark's table.
inline const char* benchStructure() {
  return "table BENCHTBL Bench\nupload yes\nfield ID N 10\nfield NAME C 20\nfield BORN D\nfield ACTIVE L\n"
         "field AMOUNT N 12 2\nindex BENCH_ID ID\n";
}

inline std::vector<wire::FieldDef> benchFields() {
  return {{"ID", 'N', 10, 0}, {"NAME", 'C', 20, 0}, {"BORN", 'D', 8, 0}, {"ACTIVE", 'L', 1, 0}, {"AMOUNT", 'N', 12, 2}};
}

// Row i as the dbf benchmark fills it.
inline wire::Row benchRow(long i, long n) {
  wire::Row r(5);
  char name[32];
  snprintf(name, sizeof name, "K%08ld", (i * 7919) % n);
  r[0].number = static_cast<double>(i);
  r[1].text = name;
  r[2].number = static_cast<double>(wire::dayNumber(1960, 1, 1) + i % 10000);
  r[3].logical = i % 3 == 0;
  r[4].number = static_cast<double>(i % 1000) / 4;
  return r;
}

inline std::string benchCsv(long from, long to, long n) {
  const std::vector<wire::FieldDef> f = benchFields();
  std::string csv = "ID,NAME,BORN,ACTIVE,AMOUNT\n";
  for (long i = from; i < to; ++i) {
    const wire::Row r = benchRow(i, n);
    for (size_t k = 0; k < f.size(); ++k) csv += (k ? "," : "") + wire::valueText(f[k], r[k]);
    csv += "\n";
  }
  return csv;
}

}  // namespace sim

#endif
