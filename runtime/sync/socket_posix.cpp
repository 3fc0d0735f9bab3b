// POSIX sockets for the connection code. poll stands in for select, so a
// descriptor above FD_SETSIZE is waited on safely.
#include "socket_posix.h"

// unistd.h declares a function sync(), which this folder's namespace would
// clash with; its declaration is renamed out of the way.
#define sync unistd_sync
#include <unistd.h>
#undef sync

#include <arpa/inet.h>
#include <errno.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <time.h>

namespace sync::host {

namespace {

int waitFor(int socket, short events, int timeoutMs) {
  struct pollfd p;
  p.fd = socket;
  p.events = events;
  p.revents = 0;
  int rc;
  do rc = poll(&p, 1, timeoutMs < 0 ? 0 : timeoutMs);
  while (rc < 0 && errno == EINTR);
  if (rc < 0) return -1;
  if (rc == 0) return 0;
  // A closed or failed socket counts as ready: the next call reports it.
  return 1;
}

void setBlocking(int socket, bool blocking) {
  const int flags = fcntl(socket, F_GETFL, 0);
  fcntl(socket, F_SETFL, blocking ? flags & ~O_NONBLOCK : flags | O_NONBLOCK);
}

}  // namespace

bool startSockets() { return true; }
void releaseSockets() {}

bool resolveHost(const char* host, uint32_t& address) {
  struct in_addr a;
  if (inet_pton(AF_INET, host, &a) == 1) {
    address = a.s_addr;
    return true;
  }
  struct addrinfo hints;
  memset(&hints, 0, sizeof hints);
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  struct addrinfo* found = nullptr;
  if (getaddrinfo(host, nullptr, &hints, &found) != 0 || !found) return false;
  address = reinterpret_cast<struct sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
  freeaddrinfo(found);
  return true;
}

int openStream() { return socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0); }

bool connectStream(int socket, uint32_t address, int port, int timeoutMs) {
  struct sockaddr_in to;
  memset(&to, 0, sizeof to);
  to.sin_family = AF_INET;
  to.sin_port = htons(static_cast<uint16_t>(port));
  to.sin_addr.s_addr = address;
  setBlocking(socket, false);
  int rc = connect(socket, reinterpret_cast<struct sockaddr*>(&to), sizeof to);
  if (rc < 0 && errno != EINPROGRESS) return false;
  if (rc < 0) {
    if (waitFor(socket, POLLOUT, timeoutMs) != 1) return false;
    int error = 0;
    socklen_t size = sizeof error;
    if (getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &size) < 0 || error != 0) return false;
  }
  setBlocking(socket, true);
  struct timeval limit;
  limit.tv_sec = timeoutMs / 1000;
  limit.tv_usec = (timeoutMs % 1000) * 1000;
  setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
  const int on = 1;
  setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  return true;
}

long sendSome(int socket, const uint8_t* data, size_t n) {
  ssize_t rc;
  do rc = send(socket, data, n, MSG_NOSIGNAL);
  while (rc < 0 && errno == EINTR);
  if (rc < 0) return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : -1;
  return static_cast<long>(rc);
}

long receiveSome(int socket, uint8_t* data, size_t n) {
  ssize_t rc;
  do rc = recv(socket, data, n, 0);
  while (rc < 0 && errno == EINTR);
  return rc < 0 ? -1 : static_cast<long>(rc);
}

int waitReadable(int socket, int timeoutMs) { return waitFor(socket, POLLIN, timeoutMs); }
int waitWritable(int socket, int timeoutMs) { return waitFor(socket, POLLOUT, timeoutMs); }

bool awaitPeerClose(int socket, int timeoutMs) {
  if (socket < 0) return false;
  shutdown(socket, SHUT_WR);
  struct timespec start;
  clock_gettime(CLOCK_MONOTONIC, &start);
  uint8_t drop[512];
  for (;;) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const long spent = (now.tv_sec - start.tv_sec) * 1000L + (now.tv_nsec - start.tv_nsec) / 1000000L;
    if (spent >= timeoutMs || waitFor(socket, POLLIN, static_cast<int>(timeoutMs - spent)) != 1) return false;
    const long rc = receiveSome(socket, drop, sizeof drop);
    if (rc == 0) return true;
    if (rc < 0) return errno == ECONNRESET;
  }
}

void closeStream(int socket) {
  if (socket < 0) return;
  shutdown(socket, SHUT_RDWR);
  close(socket);
}

void sleepMs(int ms) {
  if (ms <= 0) return;
  struct timespec span;
  span.tv_sec = ms / 1000;
  span.tv_nsec = static_cast<long>(ms % 1000) * 1000000L;
  while (nanosleep(&span, &span) < 0 && errno == EINTR) {}
}

}  // namespace sync::host
