// Shared set-up of the sync tests: a fresh application per test with the
// fatal-error exit turned into an exception, protocol waits shrunk from
// seconds to milliseconds, and every message box, state text and log line
// recorded; plus a scripted fake server for the framing edge cases.
#ifndef ZELTA_TESTS_SYNC_FIXTURE_H
#define ZELTA_TESTS_SYNC_FIXTURE_H

// unistd.h declares a function sync(), which the run-time's namespace of the
// same name would clash with; its declaration is renamed out of the way.
#define sync unistd_sync
#include <unistd.h>
#undef sync

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/socket.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "core.h"
#include "report.h"
#include "sync_state.h"
#include "zeltaobjs.h"

struct SyncFailure {
  int code;
};

inline void throwSyncFailure(int code, int, const std::string&) { throw SyncFailure{code}; }

// The error code a call raises, or -1 when it returns.
template <typename F>
int errorOf(F&& call) {
  try {
    call();
  } catch (const SyncFailure& f) {
    return f.code;
  }
  return -1;
}

struct Seen {
  std::vector<std::string> boxes;   // "title: text"
  std::vector<std::string> states;  // every state text shown
};

inline Seen& seen() {
  static Seen s;
  return s;
}

class SyncTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Sessions keep their files (tables, upload and download files, the
    // message log) in a fresh application directory per test.
    char pattern[] = "/tmp/zelta-sync-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    appDir = pattern;
    setenv("ZELTA_APPDIR", appDir.c_str(), 1);
    core::setFatalTrap(throwSyncFailure);
    ASSERT_TRUE(__BeginGlobal());
    __begin_context();
    seen() = Seen();
    savedBox = core::hooks().messageBox;
    core::hooks().messageBox = [](const char* title, const char* text, int) {
      seen().boxes.push_back(std::string(title) + ": " + text);
      return 1;
    };
    sync::state().ui.stateText = [](const char* text) { seen().states.push_back(text); };
    sync::Timing& t = sync::state().timing;
    // Long enough that a loaded machine answers within one slice.
    t.sliceMs = 250;
    t.secondMs = 20;
    t.taskRetryMs = 1;
    sync::state().recentLog.clear();
  }
  void TearDown() override {
    sync::freeNetBlock();
    sync::state().timing = sync::Timing();
    core::hooks().messageBox = savedBox;
    __end_context(nullptr);
    __EndGlobal();
    EXPECT_EQ(core::liveAllocations(), 0) << "records or buffers leaked";
    const std::string command = "rm -rf '" + appDir + "'";
    if (system(command.c_str()) != 0) ADD_FAILURE() << "cannot remove " << appDir;
  }

  std::string appDir;
  int (*savedBox)(const char*, const char*, int) = nullptr;

  bool stateShown(const std::string& text) const {
    for (const std::string& s : seen().states)
      if (s == text) return true;
    return false;
  }
  bool logged(const std::string& text) const {
    for (const std::string& s : sync::state().recentLog)
      if (s == text) return true;
    return false;
  }
};

using Bytes = std::vector<uint8_t>;

// A loopback server that accepts one connection and runs a script on it in
// its own thread. The script's helpers wait at most `waitMs` for a request
// (two seconds unless given: a script that expects none waits that long).
class FakeServer {
 public:
  using Script = std::function<void(FakeServer&)>;

  explicit FakeServer(Script script, int waitMs = 2000) : script_(std::move(script)), waitMs_(waitMs) {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr*>(&at), sizeof at);
    listen(listener_, 4);
    socklen_t size = sizeof at;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&at), &size);
    port_ = ntohs(at.sin_port);
    thread_ = std::thread([this] {
      pollfd p{listener_, POLLIN, 0};
      if (poll(&p, 1, 5000) != 1) return;
      fd_ = accept(listener_, nullptr, nullptr);
      script_(*this);
      closedByDevice_ = waitClosed();
      close(fd_);
    });
  }
  ~FakeServer() {
    if (thread_.joinable()) thread_.join();
    close(listener_);
  }
  int port() const { return port_; }
  void join() {
    if (thread_.joinable()) thread_.join();
  }

  // One device frame: its header bytes and payload (empty when none came).
  bool readRequest(Bytes& header, Bytes& payload) {
    header.assign(3, 0);
    if (!readAll(header.data(), 3)) return false;
    const size_t n = header[0] == 'B' ? (header[1] << 8 | header[2]) : (header[2] << 8 | header[1]);
    payload.assign(n, 0);
    return readAll(payload.data(), n);
  }
  Bytes request() {
    Bytes h, p;
    readRequest(h, p);
    requests.push_back(p);
    return p;
  }
  // A reply: big-endian length, the two kept bytes, the body.
  void reply(const Bytes& body, uint8_t kept0 = 0, uint8_t kept1 = 1) {
    Bytes frame = {static_cast<uint8_t>((body.size() + 2) >> 8), static_cast<uint8_t>(body.size() + 2), kept0, kept1};
    frame.insert(frame.end(), body.begin(), body.end());
    raw(frame);
  }
  void raw(const Bytes& bytes) { send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL); }
  void closeNow() { shutdown(fd_, SHUT_RDWR); }
  // Waits until the device closes its end (reads and drops what comes).
  bool waitClosed() {
    uint8_t b[256];
    for (;;) {
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, 2000) != 1) return false;
      const ssize_t rc = recv(fd_, b, sizeof b, 0);
      if (rc <= 0) return true;
      extra.insert(extra.end(), b, b + rc);
    }
  }

  std::vector<Bytes> requests;  // payloads read by request()
  Bytes extra;                  // what came after the script ended
  bool closedByDevice_ = false;

 private:
  bool readAll(uint8_t* p, size_t n) {
    while (n) {
      pollfd w{fd_, POLLIN, 0};
      if (poll(&w, 1, waitMs_) != 1) return false;
      const ssize_t rc = recv(fd_, p, n, 0);
      if (rc <= 0) return false;
      p += rc;
      n -= static_cast<size_t>(rc);
    }
    return true;
  }

  Script script_;
  int waitMs_;
  int listener_ = -1;
  int fd_ = -1;
  int port_ = 0;
  std::thread thread_;
};

inline Bytes text(const std::string& s) {
  Bytes b(s.begin(), s.end());
  b.push_back(0);
  return b;
}

inline Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The body of an accepted login.
inline Bytes acceptedBody(const std::string& version = "6.0.0") { return Bytes{13} + text(version) + Bytes{'d', 250}; }

#endif
