// The RPC requests a device sends on its kept connection and the replies it
// reads, built and read by both ends (the framing is wire/framing.h's).
//
//   request payload:  16-bit 1 | command | body
//   5     call         '2' general / '1' named | 16-bit n | n bytes (a
//                      sync-flushed zlib stream of the texts, each with its
//                      zero byte; plain texts when they did not compress)
//                      | 0
//   0x21  write        "insert ..." / "update ..." statement | 0
//   0x24  select       "select ..." statement | 0
//   0x22  xml          XML text | 0
//   0x25  admin list   -
//   0x26  admin run    4-byte operation number
//   0x27  image        4-byte file size | name | 4-byte n | n bytes
//
//   reply body (after the 2 kept bytes):
//   call, admin run:   13 | reply text       other status | text
//   write, select:     13 (done, no rows)    other status | text (refused)
//                      '$' | 16-bit field count (at most 500)
//                          | per field: name | type | 16-bit length | 16-bit decimals
//                          | 4-byte row count
//                      then download packets (wire/sync_packets.h) and the
//                      end 11 | 0, or 255 | 0 | text on a failure
//   admin list:        4-byte n | n x (4-byte number | name | text | 4-byte value)
//   image:             13 for a block kept, other status | text
#ifndef ZELTA_WIRE_RPC_PACKETS_H
#define ZELTA_WIRE_RPC_PACKETS_H

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "packet.h"
#include "table_rows.h"

namespace wire {

enum RpcCommand : uint8_t {
  kRpcCall = 5,
  kRpcWrite = 0x21,
  kRpcXml = 0x22,
  kRpcSelect = 0x24,
  kAdminList = 0x25,
  kAdminRun = 0x26,
  kRpcImage = 0x27
};
constexpr uint8_t kCallGeneral = '2';
constexpr uint8_t kCallNamed = '1';
constexpr uint8_t kResultSet = '$';
constexpr uint8_t kStreamEnd = 11;
constexpr uint8_t kStreamError = 255;
constexpr int kMaxResultFields = 500;
constexpr const char* kNoParameters = "__NOPARAM__";

// The head of a result set. False when the fields are more than 500, or a
// field is not a name, a type C, N, D or L and its sizes.
bool writeResultHead(PacketWriter& w, const std::vector<FieldDef>& fields, int32_t rows);
bool readResultHead(PacketReader& r, std::vector<FieldDef>& fields, int32_t& rows);

// Splits the texts of a call (each ended by its zero byte). A last text
// without its zero byte is taken as it stands.
std::vector<std::string> splitTexts(const uint8_t* data, size_t n);

// Inflates a sync-flushed stream (which has no end) into `out`, at most
// `limit` bytes; false when the bytes are not such a stream.
bool inflateFlushed(const uint8_t* data, size_t n, std::vector<uint8_t>& out, size_t limit);

}  // namespace wire

#endif
