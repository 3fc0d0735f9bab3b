// Upload packets as the server reads them (the layout is drawn in
// wire/sync_packets.h): every size field is checked against the bytes that
// came before anything is inflated or parsed.
#include "upload_rows.h"

#include "framing.h"
#include "sync_packets.h"
#include "zlib_codec.h"

namespace server {

bool looksLikeUpload(const uint8_t* payload, size_t n) {
  return n >= wire::kUploadHeader && payload[2] == 11 && payload[3] == 12;
}

bool readUploadPacket(const TableDef& def, const uint8_t* packet, size_t n, wire::Order order,
                      std::vector<wire::Row>& rows, std::string& error) {
  rows.clear();
  if (!looksLikeUpload(packet, n) || packet[6] != 14) {
    error = "not an upload packet";
    return false;
  }
  const size_t size = wire::get16(packet + 4, order);
  const size_t plain = wire::get16(packet + 7, order);
  const size_t count = wire::get16(packet + 9, order);
  if (size != n || plain > static_cast<size_t>(wire::kBufferSize)) {
    error = "upload packet sizes do not match its bytes";
    return false;
  }
  std::vector<uint8_t> data(plain ? plain : 1);
  const wire::Inflated i =
      wire::inflateLimited(packet + wire::kUploadHeader, n - wire::kUploadHeader, data.data(), plain);
  if (i.status != wire::InflateStatus::Complete || i.size != plain) {
    error = "upload packet with a damaged stream";
    return false;
  }
  size_t at = 0;
  while (at < plain) {
    if (plain - at < wire::kRowPrefix) {
      error = "upload row cut short";
      return false;
    }
    const size_t length = wire::get16(&data[at], order);
    if (length < wire::kRowPrefix || length > plain - at || data[at + 2] != 1) {
      error = "upload row with a bad length or kind";
      return false;
    }
    wire::Row row;
    if (!wire::readUploadFields(def.fields, &data[at + wire::kRowPrefix], length - wire::kRowPrefix, row)) {
      error = "upload row that does not fit table " + def.name;
      return false;
    }
    rows.push_back(std::move(row));
    at += length;
  }
  if (rows.size() != count) {
    error = "upload packet with another number of rows than it says";
    return false;
  }
  return true;
}

}  // namespace server
