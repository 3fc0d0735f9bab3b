// The data packets of a sync session: uploads (device to server, one per
// record of a table's ".tHst" file) and downloads (server to device, stored
// as received in the table's ".tPda" file). Both carry rows compressed with
// zlib at level 9; 16-bit fields follow the session's byte order.
//
//   upload:    0-1 unused | 2: 11 | 3: 12 | 4-5 packet size (compressed + 11)
//              | 6: 14 | 7-8 uncompressed size | 9-10 rows | 11.. zlib stream
//   download:  0-1 the server's | 2: 12 | 3: 14 | 4-5 packet size
//              | 6-7 rows | 8-9 uncompressed size | 10.. zlib stream
//   end of a download stream: byte 2 = 11 or byte 3 = 17
//   error inside a download stream: byte 2 above 254, then its text
//
//   upload row:    16-bit length (prefix included) | 1 | fields as texts
//   download row:  16-bit length (prefix included) | operation (1 insert,
//                  2 update, 3 delete) | record, or the first index's key
#ifndef ZELTA_WIRE_SYNC_PACKETS_H
#define ZELTA_WIRE_SYNC_PACKETS_H

#include <stddef.h>
#include <stdint.h>

#include "byte_order.h"
#include "zlib_codec.h"

namespace wire {

constexpr size_t kUploadHeader = 11;
constexpr size_t kDownloadHeader = 10;
constexpr size_t kRowPrefix = 3;

// Compresses `n` bytes of rows into an upload packet in `out`. The packet
// size is kUploadHeader + the stream; the status tells why it failed.
Deflated buildUploadPacket(const uint8_t* rows, size_t n, uint16_t rowCount, uint8_t* out, size_t capacity,
                           Order order);

// Compresses rows into a download packet (bytes 0-1 are written as 0, 1).
Deflated buildDownloadPacket(const uint8_t* rows, size_t n, uint16_t rowCount, uint8_t* out, size_t capacity,
                             Order order);

// The header fields of a stored download packet.
struct DownloadHeader {
  uint16_t packetSize;
  uint16_t rows;
  uint16_t uncompressed;
};
inline DownloadHeader readDownloadHeader(const uint8_t* p, Order order) {
  return {get16(p + 4, order), get16(p + 6, order), get16(p + 8, order)};
}

}  // namespace wire

#endif
