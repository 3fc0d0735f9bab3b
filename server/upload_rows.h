// Reading a device's upload packet against the table it names.
#ifndef ZELTA_SERVER_UPLOAD_ROWS_H
#define ZELTA_SERVER_UPLOAD_ROWS_H

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "byte_order.h"
#include "table_def.h"

namespace server {

// True when a request payload is an upload packet (bytes 2 and 3 are 11 and
// 12) rather than a command.
bool looksLikeUpload(const uint8_t* payload, size_t n);

// The rows of an upload packet; false with the reason when the packet is
// cut short, its stream is damaged, or a row does not fit the table.
bool readUploadPacket(const TableDef& def, const uint8_t* packet, size_t n, wire::Order order,
                      std::vector<wire::Row>& rows, std::string& error);

}  // namespace server

#endif
