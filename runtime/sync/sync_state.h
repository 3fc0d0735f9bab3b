// The synchronisation folder's state record (see runtime/core/core.h for the
// convention). It holds the connection state block that __VerifyNetGlb
// allocates on first use and a session frees at its end, the byte-order
// flag, the serial ports, the recent log lines, the user interface's hooks
// and the timing that tests may shorten.
#ifndef ZELTA_SYNC_SYNC_STATE_H
#define ZELTA_SYNC_SYNC_STATE_H

#include <stdint.h>
#include <time.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "byte_order.h"

namespace sync {

// The connection state block, field for field; `socket` and `received` are
// ours: the session's socket and the bytes of the last packet read.
struct NetBlock {
  void* progress[4];
  int32_t position;
  int32_t busy;       // 1 from the start of a send or receive until it completes
  int32_t loginFlag;  // the server's last login byte was 250
  uint16_t maxPacket;
  uint16_t serverFlag;  // the server's flag byte was 'd'
  int32_t receiveChunk;
  int32_t sendChunk;
  uint8_t* compression;  // kBufferSize bytes
  uint8_t* packet;       // kBufferSize bytes
  int32_t recordLength;
  int32_t taskType;
  int32_t status;
  int32_t rpcSocket;  // -1: none
  char connectionType;
  std::string host;
  int32_t port;
  int32_t timeout;  // seconds
  std::string user;
  std::string device;
  uint8_t taskFilter;
  int32_t adminId;
  char modeByte;

  int32_t socket;    // -1: none
  int32_t received;  // payload bytes of the last packet read
  bool restart;      // a received component asks for a restart
  bool overflow;     // an exported writer passed the buffer since the last Reset
  bool rpcBusy;      // an RPC call is running on the RPC socket
};

// Durations the protocol fixes; the tests shrink them so that waits of
// minutes take milliseconds.
struct Timing {
  int sliceMs = 30000;  // one select slice of a read
  int secondMs = 1000;  // one second of the goodbye wait and the time-outs
  int taskRetryMs = 30;
};

struct SerialPort {
  int fd = -1;
};

// What the sync window fills in while it is open; null slots: nothing shows.
struct UiHooks {
  void (*stateText)(const char* text) = nullptr;
  void (*infoText)(const char* text) = nullptr;
  void (*pumpMessages)() = nullptr;
  // The window's two bars, 0 to 100: the task list, and the table at hand.
  void (*taskProgress)(int percent) = nullptr;
  void (*tableProgress)(int percent) = nullptr;
};

// The sync configuration block (__VerifyNgGlb).
struct SyncConfig {
  bool allocated = false;
  int compression = 1;
  time_t start = 0;
};

// A download packet as it arrived and as it inflated, kept from its arrival
// to the apply of the same run, so the apply does not inflate it again.
struct InflatedPacket {
  std::vector<uint8_t> packed;
  std::vector<uint8_t> plain;
};

struct State {
  NetBlock* net = nullptr;
  SyncConfig config;
  // Online only: no packing before, no applying after (off unless a caller
  // asks for it).
  bool partialSync = false;
  std::vector<std::string> lastUploads;  // per table packed: "NAME: n records(s) upload."
  bool byteOrderFlag = true;
  Timing timing;
  std::string stateText;
  std::string infoText;
  std::deque<std::string> recentLog;  // the last lines written, newest last
  int lastSlices = 0;                 // select slices the last read waited
  time_t sessionStart = 0;
  std::vector<SerialPort> ports;  // a port handle is its index + 1
  UiHooks ui;
  // By table, by record of its ".tPda" file; inflatedBytes counts them.
  std::map<std::string, std::map<uint32_t, InflatedPacket>> inflated;
  size_t inflatedBytes = 0;
};

extern State stateRecord;
inline State& state() { return stateRecord; }

// The connection state block, allocated (zero-filled, with its defaults)
// when missing. Returns null only when memory ran out.
NetBlock* netBlock();
// Frees the block and its buffers; the sockets it holds are closed.
void freeNetBlock();

inline wire::Order byteOrder() { return state().byteOrderFlag ? wire::Order::Big : wire::Order::Little; }

}  // namespace sync

#endif
