// Building upload and download packets (the layouts are drawn in
// sync_packets.h).
#include "sync_packets.h"

namespace wire {

namespace {

Deflated compressAfter(const uint8_t* rows, size_t n, uint8_t* out, size_t capacity, size_t header) {
  if (capacity < header) return {DeflateStatus::OutputFull, 0};
  const Deflated d = deflateWhole(rows, n, out + header, capacity - header);
  if (d.status != DeflateStatus::Ok || d.size + header > 0xFFFF)
    return {d.status == DeflateStatus::Ok ? DeflateStatus::OutputFull : d.status, 0};
  return {DeflateStatus::Ok, d.size + header};
}

}  // namespace

Deflated buildUploadPacket(const uint8_t* rows, size_t n, uint16_t rowCount, uint8_t* out, size_t capacity,
                           Order order) {
  const Deflated d = compressAfter(rows, n, out, capacity, kUploadHeader);
  if (d.status != DeflateStatus::Ok) return d;
  out[0] = 0;
  out[1] = 0;
  out[2] = 11;
  out[3] = 12;
  put16(out + 4, static_cast<uint16_t>(d.size), order);
  out[6] = 14;
  put16(out + 7, static_cast<uint16_t>(n), order);
  put16(out + 9, rowCount, order);
  return d;
}

Deflated buildDownloadPacket(const uint8_t* rows, size_t n, uint16_t rowCount, uint8_t* out, size_t capacity,
                             Order order) {
  const Deflated d = compressAfter(rows, n, out, capacity, kDownloadHeader);
  if (d.status != DeflateStatus::Ok) return d;
  put16(out, 1, order);
  out[2] = 12;
  out[3] = 14;
  put16(out + 4, static_cast<uint16_t>(d.size), order);
  put16(out + 6, rowCount, order);
  put16(out + 8, static_cast<uint16_t>(n), order);
  return d;
}

}  // namespace wire
