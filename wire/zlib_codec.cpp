// deflate and inflate through the system's zlib.
#include "zlib_codec.h"

#include <string.h>
#include <zlib.h>

namespace wire {

namespace {

DeflateStatus endStatus(int rc) {
  switch (rc) {
    case Z_OK: return DeflateStatus::Ok;
    case Z_DATA_ERROR: return DeflateStatus::EndDataError;
    case Z_STREAM_ERROR: return DeflateStatus::EndStreamError;
    default: return DeflateStatus::EndFailed;
  }
}

Deflated deflateWith(const uint8_t* data, size_t n, uint8_t* out, size_t capacity, int flush) {
  z_stream z;
  memset(&z, 0, sizeof z);
  if (deflateInit(&z, 9) != Z_OK) return {DeflateStatus::InitFailed, 0};
  z.next_in = const_cast<Bytef*>(data);
  z.avail_in = static_cast<uInt>(n);
  z.next_out = out;
  z.avail_out = static_cast<uInt>(capacity);
  const int rc = deflate(&z, flush);
  const size_t produced = capacity - z.avail_out;
  DeflateStatus status = DeflateStatus::Ok;
  if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR)
    status = DeflateStatus::Failed;
  else if (flush == Z_FINISH ? rc != Z_STREAM_END : (z.avail_in != 0 || z.avail_out == 0))
    // A sync flush that filled the buffer may hold back output.
    status = DeflateStatus::OutputFull;
  const int end = deflateEnd(&z);
  // Ending a stream that was not finished reports Z_DATA_ERROR by design.
  if (status == DeflateStatus::Ok && (flush == Z_FINISH || end != Z_DATA_ERROR)) status = endStatus(end);
  return {status, produced};
}

}  // namespace

Deflated deflateWhole(const uint8_t* data, size_t n, uint8_t* out, size_t capacity) {
  return deflateWith(data, n, out, capacity, Z_FINISH);
}

Deflated deflateFlushed(const uint8_t* data, size_t n, uint8_t* out, size_t capacity) {
  return deflateWith(data, n, out, capacity, Z_SYNC_FLUSH);
}

Inflated inflateLimited(const uint8_t* data, size_t n, uint8_t* out, size_t limit) {
  z_stream z;
  memset(&z, 0, sizeof z);
  if (inflateInit(&z) != Z_OK) return {InflateStatus::Damaged, 0};
  z.next_in = const_cast<Bytef*>(data);
  z.avail_in = static_cast<uInt>(n);
  z.next_out = out;
  z.avail_out = static_cast<uInt>(limit);
  const int rc = inflate(&z, Z_FINISH);
  const size_t produced = limit - z.avail_out;
  inflateEnd(&z);
  if (rc == Z_STREAM_END) return {InflateStatus::Complete, produced};
  if (rc == Z_BUF_ERROR && z.avail_out == 0) return {InflateStatus::Truncated, produced};
  return {InflateStatus::Damaged, produced};
}

}  // namespace wire
