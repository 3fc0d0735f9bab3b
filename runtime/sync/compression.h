// zlib on the connection state block's compression buffer: the inflate
// routine of downloads and the deflate of RPC payloads.
#ifndef ZELTA_SYNC_COMPRESSION_H
#define ZELTA_SYNC_COMPRESSION_H

#include <stddef.h>
#include <stdint.h>

#include "sync_state.h"
#include "zlib_codec.h"

namespace sync {

// Inflates `n` bytes into the compression buffer, producing at most `limit`
// bytes (0: the block's largest payload; never more than the buffer).
wire::Inflated inflateToBuffer(NetBlock& block, const uint8_t* data, size_t n, size_t limit = 0);

// Deflates an RPC payload with a sync flush into the compression buffer, at
// most 6,144 bytes; OutputFull means the payload goes uncompressed.
wire::Deflated deflateRpcPayload(NetBlock& block, const uint8_t* data, size_t n);

}  // namespace sync

#endif
