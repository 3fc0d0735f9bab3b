// The host's serial ports (termios), behind the few calls the port exports
// make. A port is a descriptor, -1 for none.
#ifndef ZELTA_RUNTIME_SYNC_SERIAL_POSIX_H
#define ZELTA_RUNTIME_SYNC_SERIAL_POSIX_H

#include <stdint.h>

namespace sync::host {

// Opens the device for reading and writing, exclusively, raw 8N1 at `baud`
// with no flow control, and raises DTR and RTS. -1 when the device cannot
// be opened or locked or the baud rate is not one the host knows.
int openSerial(const char* device, long baud);
void closeSerial(int port);

// 1 when CTS is on, 0 when off, -1 when the port reports no modem lines
// (a pseudo-terminal).
int clearToSend(int port);
// 1 when the byte went out, 0 when the port took nothing within `timeoutMs`,
// -1 on an error.
int writeSerialByte(int port, uint8_t byte, int timeoutMs);
// 1 when a byte was read, 0 when none came within `timeoutMs`, -1 on an
// error.
int readSerialByte(int port, uint8_t& byte, int timeoutMs);

}  // namespace sync::host

#endif
