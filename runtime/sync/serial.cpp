// OPENCOM, READCOM, WRITECOM and CLOSECOM. The port is the device named by
// ZELTA_COM1 (default /dev/ttyS0), whatever port number a program gives;
// only the baud rate is taken from the arguments, the line is always 8N1.
// A port handle holds the port's place in the state record plus one, so a
// stale or made-up handle is refused instead of used.
//
// READCOM waits up to the port's read interval (65,535 ms) for the first
// byte, then takes bytes while each follows the last within 100 ms, and
// returns when n bytes are in or the line falls quiet.
#include <stdlib.h>

#include "arguments.h"
#include "report.h"
#include "serial_posix.h"
#include "socket_posix.h"
#include "sync_state.h"
#include "zeltamisc.h"
#include "zeltanet.h"

namespace {

constexpr int kFirstByteMs = 65535;
constexpr int kNextByteMs = 100;
constexpr int kWriteMs = 1010;  // 10 ms per byte plus 1,000 ms

int scaled(int ms) { return static_cast<int>(static_cast<long long>(ms) * sync::state().timing.secondMs / 1000); }

// The descriptor behind a handle value, or -1.
int portOf(pObj_Node handle) {
  if (!core::isType(handle, T_HANDLE)) __RuntimeError(ARGUMENT_ERROR, -1);
  const uintptr_t place = reinterpret_cast<uintptr_t>(handle->objData.pValue);
  std::vector<sync::SerialPort>& ports = sync::state().ports;
  if (place == 0 || place > ports.size()) return -1;
  return ports[place - 1].fd;
}

// Asks whether to go on after a stall; true for Retry.
bool retryAfterStall() {
  const bool retry = __GET_BOOL(__MsgYesNo(__INIT_CHARPTR("Sending data timeout."), __INIT_CHARPTR("ERROR")));
  if (sync::state().ui.pumpMessages) sync::state().ui.pumpMessages();
  return retry;
}

}  // namespace

pObj_Node OPENCOM(pObj_Node port, pObj_Node baud, pObj_Node line1, pObj_Node line2, pObj_Node line3) {
  core::checkNumber(port);
  const long rate = core::checkWhole(baud);
  core::checkNumber(line1);
  core::checkNumber(line2);
  core::checkNumber(line3);
  const char* device = getenv("ZELTA_COM1");
  const int fd = sync::host::openSerial(device && *device ? device : "/dev/ttyS0", rate);
  if (fd < 0) return __INIT_HANDLE(nullptr);
  std::vector<sync::SerialPort>& ports = sync::state().ports;
  size_t place = 0;
  while (place < ports.size() && ports[place].fd >= 0) ++place;
  if (place == ports.size()) ports.emplace_back();
  ports[place].fd = fd;
  return __INIT_HANDLE(reinterpret_cast<void*>(place + 1));
}

pObj_Node CLOSECOM(pObj_Node handle) {
  const int fd = portOf(handle);
  if (fd < 0) return __INIT_BOOL(0);
  sync::host::closeSerial(fd);
  sync::state().ports[reinterpret_cast<uintptr_t>(handle->objData.pValue) - 1].fd = -1;
  return __INIT_BOOL(1);
}

pObj_Node READCOM(pObj_Node handle, pObj_Node buffer, pObj_Node count) {
  const int fd = portOf(handle);
  if (!core::isType(buffer, T_CHARPTR)) __RuntimeError(ARGUMENT_ERROR, -1);
  const long n = core::checkWhole(count);
  // A constant's text is the program's own and is never written; the zero
  // byte after the last byte read must stay inside the buffer.
  const long room = buffer->objKind == vConstant || !buffer->objData.mbuff ? 0 : buffer->objLength;
  if (fd < 0 || n <= 0 || room < n) return __INIT_DOUBLE(0);
  const long limit = n < room ? n : room - 1;
  char* out = buffer->objData.mbuff;
  long got = 0;
  while (got < limit) {
    uint8_t byte;
    if (sync::host::readSerialByte(fd, byte, scaled(got == 0 ? kFirstByteMs : kNextByteMs)) != 1) break;
    out[got++] = static_cast<char>(byte);
  }
  if (got > 0) {
    out[got] = 0;
    buffer->objLength = static_cast<int32_t>(got + 1);
  }
  return __INIT_DOUBLE(static_cast<double>(got));
}

pObj_Node WRITECOM(pObj_Node handle, pObj_Node text, pObj_Node count) {
  const int fd = portOf(handle);
  const std::string_view data = core::checkText(text);
  long n = core::checkWhole(count);
  if (fd < 0 || n <= 0) return __INIT_DOUBLE(0);
  if (static_cast<size_t>(n) > data.size()) n = static_cast<long>(data.size());
  long written = 0, sinceStall = 0, tries = 0;
  while (written < n) {
    if (sync::host::clearToSend(fd) == 0) {
      sync::host::sleepMs(1);
      if (++tries > 10000 + 100 * sinceStall) {
        if (!retryAfterStall()) return __INIT_DOUBLE(0);
        tries = 0;
        sinceStall = 0;
      }
      continue;
    }
    if (tries > 0) sinceStall = 0;
    tries = 0;
    if (sync::host::writeSerialByte(fd, static_cast<uint8_t>(data[static_cast<size_t>(written)]), scaled(kWriteMs)) !=
        1) {
      __gMessageBox("ERROR", "Sending data failed.");
      return __INIT_DOUBLE(0);
    }
    ++written;
    ++sinceStall;
  }
  return __INIT_DOUBLE(static_cast<double>(written));
}
