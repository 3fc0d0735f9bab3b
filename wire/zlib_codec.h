// zlib streams of the sync and RPC packets: deflate at level 9 into a
// bounded buffer, and inflate with an output limit. A stream that does not
// fit, or that zlib finds damaged, is reported, never passed on cut short.
#ifndef ZELTA_WIRE_ZLIB_CODEC_H
#define ZELTA_WIRE_ZLIB_CODEC_H

#include <stddef.h>
#include <stdint.h>

namespace wire {

enum class DeflateStatus {
  Ok,
  InitFailed,      // deflateInit refused
  Failed,          // deflate returned an error
  OutputFull,      // the stream did not fit in the output buffer
  EndDataError,    // deflateEnd: Z_DATA_ERROR
  EndStreamError,  // deflateEnd: Z_STREAM_ERROR
  EndFailed        // deflateEnd: any other error
};

struct Deflated {
  DeflateStatus status;
  size_t size;  // bytes of output
};

// One whole stream (Z_FINISH): the form of upload and download packets.
Deflated deflateWhole(const uint8_t* data, size_t n, uint8_t* out, size_t capacity);
// A sync-flushed stream: the form of RPC payloads. OutputFull tells the
// caller to send the data uncompressed.
Deflated deflateFlushed(const uint8_t* data, size_t n, uint8_t* out, size_t capacity);

enum class InflateStatus {
  Complete,   // the stream ended within the limit
  Truncated,  // the limit was reached first: `size` bytes were produced
  Damaged     // not a zlib stream, or cut short
};

struct Inflated {
  InflateStatus status;
  size_t size;
};

Inflated inflateLimited(const uint8_t* data, size_t n, uint8_t* out, size_t limit);

}  // namespace wire

#endif
