// The RPC requests of devices on the server (drawn in wire/rpc_packets.h):
// queries on the application's tables, server functions, images and the
// administrator's operations. One RpcSession per connection holds its query
// database and the image being received.
#ifndef ZELTA_SERVER_RPC_H
#define ZELTA_SERVER_RPC_H

#include <stdint.h>

#include <memory>
#include <string>
#include <vector>

#include "byte_order.h"
#include "store.h"

namespace server {

struct RpcSettings {
  std::string database;  // the SQLite file or PostgreSQL address the queries open (empty: none)
  bool postgres = false;
  std::string queryRole = "zelta_device";  // PostgreSQL: the role device statements run as
  std::string imageFolder;                 // images from devices, one folder per device
};

struct RpcCaller {
  std::string user;
  std::string device;
  bool admin = false;  // logged in with ADM_ON
  int32_t adminId = 0;
};

class QueryDatabase;
struct ImageUpload;

class RpcSession {
 public:
  RpcSession();
  ~RpcSession();
  // The reply bodies (kept bytes first) of one RPC request; empty when the
  // request is malformed and the session must end.
  std::vector<std::vector<uint8_t>> handle(Store& store, const RpcSettings& settings, const RpcCaller& caller,
                                           uint8_t command, const uint8_t* payload, size_t n, wire::Order order);

 private:
  std::unique_ptr<QueryDatabase> queries_;
  std::unique_ptr<ImageUpload> image_;
};

bool isRpcCommand(uint8_t command);

// A reply body: the kept bytes, a status byte and a text.
std::vector<uint8_t> statusReply(uint8_t status, const std::string& text, wire::Order order);

}  // namespace server

#endif
