// The event loop of zeltasyncd (standalone Asio). Each connection reads a
// 3-byte device header, then its payload, hands it to its conversation on a
// worker thread and, back on the loop, writes the replies; a timer ends a
// connection whose device stays silent longer than the time-out (never while
// its request is being worked on). Connections above the cap are accepted
// and closed at once, so the others keep being served.
//
// Threads: the loop owns the sockets, timers and the count of open
// connections; a worker owns a conversation while it handles one request or
// the end of the session, and uses the store of its own thread.
#define ASIO_STANDALONE
#define ASIO_NO_DEPRECATED
#include <asio.hpp>

#include <chrono>
#include <memory>

#include "framing.h"
#include "listener.h"
#include "session_log.h"
#include "stored_download.h"

namespace server {

namespace {

using asio::ip::tcp;
using Clock = std::chrono::steady_clock;

class Connection;

struct Shared {
  const ListenerConfig& config;
  const StoreOpener& open;
  Store& loopStore;  // the store of the loop's thread
  FILE* log;
  asio::thread_pool* workers;  // null: the loop does the work
  int connections = 0;
};

// The store of the calling thread: the loop's, or the worker's own, opened
// on its first use.
Store* threadStore(Shared& shared, std::string& error) {
  if (!shared.workers) return &shared.loopStore;
  thread_local std::unique_ptr<Store> store;
  if (!store) store = shared.open(error);
  return store.get();
}

// Runs `work` where the store's work runs, then `done` back on the loop.
template <typename Work, typename Done>
void offload(Shared& shared, asio::any_io_executor loop, Work work, Done done) {
  if (!shared.workers) {
    work();
    done();
    return;
  }
  asio::post(*shared.workers, [loop, work = std::move(work), done = std::move(done)]() mutable {
    work();
    asio::post(loop, std::move(done));
  });
}

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
        conversation_(shared.loopStore, shared.config.settings),
        address_(addressOf(socket_)),
        started_(Clock::now()) {
    ++shared_.connections;
  }

  void start() { readHeader(); }

 private:
  void arm() {
    timer_.expires_after(std::chrono::seconds(shared_.config.timeoutSeconds));
    auto self = shared_from_this();
    timer_.async_wait([self](const std::error_code& ec) {
      if (ec || self->finished_ || self->working_) return;
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
      self->working_ = true;
      self->timer_.cancel();
      offload(
          self->shared_, self->socket_.get_executor(),
          [self, order] {
            self->out_.clear();
            std::string error;
            Store* store = threadStore(self->shared_, error);
            if (!store) {
              self->conversation_.end(Result::StoreFailed);
              return;
            }
            self->conversation_.useStore(*store);
            for (const std::vector<uint8_t>& frame :
                 self->conversation_.handle(self->payload_.data(), self->payload_.size(), order))
              self->out_.insert(self->out_.end(), frame.begin(), frame.end());
          },
          [self] {
            self->working_ = false;
            self->sendReplies();
          });
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
      if (self->conversation_.streaming()) return self->continueStream();
      if (self->conversation_.ended()) return self->finish(Result::Ok);
      self->readHeader();
    });
  }

  // The next batch of a download, built while the last one travels.
  void continueStream() {
    working_ = true;
    auto self = shared_from_this();
    offload(
        shared_, socket_.get_executor(),
        [self] {
          self->out_.clear();
          for (const std::vector<uint8_t>& frame : self->conversation_.moreFrames())
            self->out_.insert(self->out_.end(), frame.begin(), frame.end());
        },
        [self] {
          self->working_ = false;
          self->sendReplies();
        });
  }

  // `why` applies only when the conversation has not ended on its own.
  void finish(Result why) {
    if (finished_) return;
    finished_ = true;
    conversation_.end(why);
    timer_.cancel();
    const double seconds = std::chrono::duration<double>(Clock::now() - started_).count();
    auto self = shared_from_this();
    offload(
        shared_, socket_.get_executor(),
        [self, seconds] {
          std::string error;
          Store* store = threadStore(self->shared_, error);
          if (store) {
            self->conversation_.useStore(*store);
            self->conversation_.close();
            if (!self->conversation_.user().empty())
              store->recordSession(self->conversation_.user(), self->conversation_.device(),
                                   resultName(self->conversation_.result()), error);
          }
          writeSessionLine(self->shared_.log, sessionLine(self->conversation_, self->address_, seconds));
        },
        [self] {
          // Closed only now: a device waits for the close after its goodbye,
          // and by then the session's deliveries are recorded.
          std::error_code ignored;
          self->socket_.shutdown(tcp::socket::shutdown_both, ignored);
          self->socket_.close(ignored);
          --self->shared_.connections;
        });
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
  bool working_ = false;  // a worker holds the conversation
};

void refuseBusy(tcp::socket socket, Shared& shared) {
  Conversation c(shared.loopStore, shared.config.settings);
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
      if (shared.connections >= shared.config.maxConnections)
        refuseBusy(std::move(socket), shared);
      else
        std::make_shared<Connection>(std::move(socket), shared)->start();
    }
    acceptNext(acceptor, shared);
  });
}

}  // namespace

int serve(const ListenerConfig& base, const StoreOpener& open, FILE* log) {
  asio::io_context io(1);
  DownloadCache cache;
  ListenerConfig config = base;
  config.settings.cache = &cache;
  std::string error;
  std::unique_ptr<Store> loopStore = open(error);
  if (!loopStore) {
    fprintf(stderr, "zeltasyncd: cannot open the database: %s\n", error.c_str());
    return 1;
  }
  // Catches up with what changed while no server ran, then follows the
  // sessions' writes.
  DownloadBuilder builder(open, &cache, stderr);
  config.settings.tablesChanged = [&builder] { builder.poke(); };
  std::unique_ptr<asio::thread_pool> workers;
  if (config.workers > 0) workers = std::make_unique<asio::thread_pool>(static_cast<size_t>(config.workers));
  Shared shared{config, open, *loopStore, log, workers.get()};
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
  if (workers) workers->join();
  return 0;
}

}  // namespace server
