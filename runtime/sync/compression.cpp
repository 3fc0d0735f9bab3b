// The compression buffer's two uses (see compression.h).
#include "compression.h"

#include "framing.h"

namespace sync {

wire::Inflated inflateToBuffer(NetBlock& block, const uint8_t* data, size_t n, size_t limit) {
  if (limit == 0) limit = block.maxPacket;
  if (limit > static_cast<size_t>(wire::kBufferSize)) limit = wire::kBufferSize;
  return wire::inflateLimited(data, n, block.compression, limit);
}

wire::Deflated deflateRpcPayload(NetBlock& block, const uint8_t* data, size_t n) {
  return wire::deflateFlushed(data, n, block.compression, 6144);
}

}  // namespace sync
