// termios serial ports. Reads and writes wait with poll, so the port itself
// is left with VMIN and VTIME at 0.
#include "serial_posix.h"

// unistd.h declares a function sync(), which this folder's namespace would
// clash with; its declaration is renamed out of the way.
#define sync unistd_sync
#include <unistd.h>
#undef sync

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>

namespace sync::host {

namespace {

struct Speed {
  long baud;
  speed_t code;
};

const Speed kSpeeds[] = {{50, B50},       {75, B75},         {110, B110},       {134, B134},       {150, B150},
                         {200, B200},     {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
                         {2400, B2400},   {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
                         {57600, B57600}, {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600}};

bool speedOf(long baud, speed_t& code) {
  for (const Speed& s : kSpeeds)
    if (s.baud == baud) {
      code = s.code;
      return true;
    }
  return false;
}

int waitFor(int port, short events, int timeoutMs) {
  struct pollfd p = {port, events, 0};
  int rc;
  do rc = poll(&p, 1, timeoutMs < 0 ? 0 : timeoutMs);
  while (rc < 0 && errno == EINTR);
  if (rc < 0 || (rc > 0 && (p.revents & (POLLERR | POLLNVAL)))) return -1;
  return rc > 0 ? 1 : 0;
}

}  // namespace

int openSerial(const char* device, long baud) {
  speed_t speed;
  if (!device || !speedOf(baud, speed)) return -1;
  const int port = open(device, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (port < 0) return -1;
  struct termios line;
  if (flock(port, LOCK_EX | LOCK_NB) < 0 || tcgetattr(port, &line) < 0) {
    close(port);
    return -1;
  }
  cfmakeraw(&line);
  line.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
  line.c_cflag |= CS8 | CLOCAL | CREAD;
  line.c_iflag &= ~(IXON | IXOFF | IXANY);
  line.c_cc[VMIN] = 0;
  line.c_cc[VTIME] = 0;
  if (cfsetispeed(&line, speed) < 0 || cfsetospeed(&line, speed) < 0 || tcsetattr(port, TCSANOW, &line) < 0) {
    close(port);
    return -1;
  }
  int lines = TIOCM_DTR | TIOCM_RTS;
  ioctl(port, TIOCMBIS, &lines);  // a pseudo-terminal has no modem lines to raise
  return port;
}

void closeSerial(int port) {
  if (port >= 0) close(port);
}

int clearToSend(int port) {
  int lines = 0;
  if (ioctl(port, TIOCMGET, &lines) < 0) return -1;
  return (lines & TIOCM_CTS) ? 1 : 0;
}

int writeSerialByte(int port, uint8_t byte, int timeoutMs) {
  const int ready = waitFor(port, POLLOUT, timeoutMs);
  if (ready <= 0) return ready;
  ssize_t rc;
  do rc = write(port, &byte, 1);
  while (rc < 0 && errno == EINTR);
  if (rc == 1) return 1;
  return rc < 0 && errno != EAGAIN ? -1 : 0;
}

int readSerialByte(int port, uint8_t& byte, int timeoutMs) {
  const int ready = waitFor(port, POLLIN, timeoutMs);
  if (ready <= 0) return ready;
  ssize_t rc;
  do rc = read(port, &byte, 1);
  while (rc < 0 && errno == EINTR);
  if (rc == 1) return 1;
  return rc < 0 && errno != EAGAIN ? -1 : 0;
}

}  // namespace sync::host
