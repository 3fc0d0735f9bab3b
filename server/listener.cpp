// The event loop of zeltasyncd (standalone Asio, one thread). Each
// connection reads a 3-byte device header, then its payload, hands it to its
// conversation and writes the replies; a timer ends a connection whose
// device stays silent longer than the time-out. Connections above the cap
// are accepted and closed at once, so the others keep being served.
#define ASIO_STANDALONE
#define ASIO_NO_DEPRECATED
#include <asio.hpp>

#include <chrono>
#include <memory>

#include "framing.h"
#include "listener.h"
#include "session_log.h"

namespace server {

namespace {

using asio::ip::tcp;
using Clock = std::chrono::steady_clock;

class Connection;

struct Shared {
  const ListenerConfig& config;
  Store& store;
  FILE* log;
  int open = 0;
};

std::string addressOf(const tcp::socket& socket) {
  std::error_code ec;
  const tcp::endpoint peer = socket.remote_endpoint(ec);
  if (ec) return "?";
  return peer.address().to_string() + ":" + std::to_string(peer.port());
}

class Connection : public std::enable_shared_from_this<Connection> {
 public:
  Connection(tcp::socket socket, Shared& shared)
      : socket_(std::move(socket)),
        timer_(socket_.get_executor()),
        shared_(shared),
        conversation_(shared.store, shared.config.settings),
        address_(addressOf(socket_)),
        started_(Clock::now()) {
    ++shared_.open;
  }

  void start() { readHeader(); }

 private:
  void arm() {
    timer_.expires_after(std::chrono::seconds(shared_.config.timeoutSeconds));
    auto self = shared_from_this();
    timer_.async_wait([self](const std::error_code& ec) {
      if (ec || self->finished_) return;
      self->conversation_.end(Result::TimedOut);
      std::error_code ignored;
      self->socket_.close(ignored);
    });
  }

  void readHeader() {
    arm();
    auto self = shared_from_this();
    asio::async_read(socket_, asio::buffer(header_), [self](const std::error_code& ec, size_t) {
      if (ec) return self->finish(Result::Closed);
      uint16_t length = 0;
      wire::Order order;
      if (wire::readClientHeader(self->header_, length, order) != wire::HeaderStatus::Ok) {
        return self->finish(Result::BadPacket);
      }
      self->readPayload(length, order);
    });
  }

  void readPayload(uint16_t length, wire::Order order) {
    payload_.resize(length);
    auto self = shared_from_this();
    asio::async_read(socket_, asio::buffer(payload_), [self, order](const std::error_code& ec, size_t) {
      if (ec) return self->finish(Result::Closed);
      self->out_.clear();
      for (const std::vector<uint8_t>& frame :
           self->conversation_.handle(self->payload_.data(), self->payload_.size(), order))
        self->out_.insert(self->out_.end(), frame.begin(), frame.end());
      self->sendReplies();
    });
  }

  void sendReplies() {
    if (out_.empty()) {
      if (conversation_.ended()) return finish(Result::Ok);
      return readHeader();
    }
    auto self = shared_from_this();
    asio::async_write(socket_, asio::buffer(out_), [self](const std::error_code& ec, size_t) {
      if (ec) return self->finish(Result::Closed);
      if (self->conversation_.ended()) return self->finish(Result::Ok);
      self->readHeader();
    });
  }

  // `why` applies only when the conversation has not ended on its own.
  void finish(Result why) {
    if (finished_) return;
    finished_ = true;
    conversation_.end(why);
    timer_.cancel();
    std::error_code ignored;
    socket_.shutdown(tcp::socket::shutdown_both, ignored);
    socket_.close(ignored);
    if (!conversation_.user().empty()) {
      std::string error;
      shared_.store.recordSession(conversation_.user(), conversation_.device(), resultName(conversation_.result()),
                                  error);
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - started_).count();
    writeSessionLine(shared_.log, sessionLine(conversation_, address_, seconds));
    --shared_.open;
  }

  tcp::socket socket_;
  asio::steady_timer timer_;
  Shared& shared_;
  Conversation conversation_;
  std::string address_;
  Clock::time_point started_;
  uint8_t header_[wire::kClientHeaderSize];
  std::vector<uint8_t> payload_;
  std::vector<uint8_t> out_;
  bool finished_ = false;
};

void refuseBusy(tcp::socket socket, Shared& shared) {
  Conversation c(shared.store, shared.config.settings);
  c.end(Result::Busy);
  const std::string address = addressOf(socket);
  std::error_code ignored;
  socket.shutdown(tcp::socket::shutdown_both, ignored);
  socket.close(ignored);
  writeSessionLine(shared.log, sessionLine(c, address, 0));
}

void acceptNext(tcp::acceptor& acceptor, Shared& shared) {
  acceptor.async_accept([&acceptor, &shared](const std::error_code& ec, tcp::socket socket) {
    if (ec == asio::error::operation_aborted) return;
    if (!ec) {
      std::error_code ignored;
      socket.set_option(tcp::no_delay(true), ignored);
      if (shared.open >= shared.config.maxConnections)
        refuseBusy(std::move(socket), shared);
      else
        std::make_shared<Connection>(std::move(socket), shared)->start();
    }
    acceptNext(acceptor, shared);
  });
}

}  // namespace

int serve(const ListenerConfig& config, Store& store, FILE* log) {
  asio::io_context io(1);
  Shared shared{config, store, log};
  std::error_code ec;
  const asio::ip::address address = asio::ip::make_address(config.host, ec);
  if (ec) {
    fprintf(stderr, "zeltasyncd: %s is not an address to listen on\n", config.host.c_str());
    return 2;
  }
  tcp::acceptor acceptor(io);
  const tcp::endpoint endpoint(address, static_cast<unsigned short>(config.port));
  acceptor.open(endpoint.protocol(), ec);
  if (!ec) acceptor.set_option(tcp::acceptor::reuse_address(true), ec);
  if (!ec) acceptor.bind(endpoint, ec);
  if (!ec) acceptor.listen(asio::socket_base::max_listen_connections, ec);
  if (ec) {
    fprintf(stderr, "zeltasyncd: cannot listen on %s:%d: %s\n", config.host.c_str(), config.port, ec.message().c_str());
    return 1;
  }
  asio::signal_set signals(io, SIGINT, SIGTERM);
  signals.async_wait([&](const std::error_code&, int) {
    std::error_code ignored;
    acceptor.close(ignored);
    io.stop();
  });
  printf("zeltasyncd: listening on %s:%u\n", config.host.c_str(), acceptor.local_endpoint().port());
  fflush(stdout);
  acceptNext(acceptor, shared);
  io.run();
  return 0;
}

}  // namespace server
