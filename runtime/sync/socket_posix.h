// The host's sockets, behind the few calls the connection code makes. A
// socket is a descriptor, -1 for none. Sends never raise SIGPIPE and never
// block past the time-out given at connect.
#ifndef ZELTA_RUNTIME_SYNC_SOCKET_POSIX_H
#define ZELTA_RUNTIME_SYNC_SOCKET_POSIX_H

#include <stddef.h>
#include <stdint.h>

namespace sync::host {

bool startSockets();
void releaseSockets();

// The IPv4 address of a dotted address or, failing that, of a host name.
bool resolveHost(const char* host, uint32_t& address);
int openStream();
// Connects within `timeoutMs`; sends on the socket then time out after the
// same span.
bool connectStream(int socket, uint32_t address, int port, int timeoutMs);

// Bytes sent or received (> 0), 0 when the peer closed (receive) or the
// send timed out, -1 on an error.
long sendSome(int socket, const uint8_t* data, size_t n);
long receiveSome(int socket, uint8_t* data, size_t n);

// 1 when ready, 0 on a time-out, -1 on an error.
int waitReadable(int socket, int timeoutMs);
int waitWritable(int socket, int timeoutMs);

// Ends the sending side and waits, at most `timeoutMs`, until the peer
// closes its end; what it still sends is dropped. True when it closed.
bool awaitPeerClose(int socket, int timeoutMs);
// Shuts the socket down and closes it.
void closeStream(int socket);
void sleepMs(int ms);

}  // namespace sync::host

#endif
