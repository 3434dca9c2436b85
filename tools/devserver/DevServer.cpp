#include "tools/devserver/DevServer.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <exception>

#include "tools/devserver/RequestReader.h"

namespace devserver {
namespace {

bool keepsAlive(const Request& request) {
  const std::optional<std::string> connection = request.header("Connection");
  if (connection && connection->find("close") != std::string::npos) return false;
  if (request.version == "HTTP/1.0") return connection && connection->find("keep-alive") != std::string::npos;
  return true;
}

// A route's pattern names a path exactly or, ending in "*", every path with that prefix.
bool matches(std::string_view pattern, std::string_view path) {
  if (pattern.ends_with('*')) return path.starts_with(pattern.substr(0, pattern.size() - 1));
  return path == pattern;
}

}  // namespace

DevServer::~DevServer() {
  stop();
}

void DevServer::route(std::string path, Handler handler) {
  std::lock_guard lock(mutex_);
  routes_.emplace_back(std::move(path), std::move(handler));
}

void DevServer::planFaults(std::string path, std::vector<Handler> faults) {
  std::lock_guard lock(mutex_);
  faultPlans_.emplace_back(std::move(path), std::deque<Handler>(faults.begin(), faults.end()));
}

void DevServer::clearFaultPlans() {
  std::lock_guard lock(mutex_);
  faultPlans_.clear();
}

void DevServer::routeOnHead(std::string path, Handler handler, std::string unless) {
  std::lock_guard lock(mutex_);
  headRoutes_.push_back({std::move(path), std::move(handler), std::move(unless)});
}

bool DevServer::start(int port) {
  // A client that goes away while we write must not end the test process.
  std::signal(SIGPIPE, SIG_IGN);
  listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listener_ < 0) return false;
  const int one = 1;
  setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  socklen_t length = sizeof address;
  if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener_, 64) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    close(listener_);
    listener_ = -1;
    return false;
  }
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { acceptLoop(); });
  return true;
}

bool DevServer::startTls(const std::string& certificatePem, const std::string& privateKeyPem, int port) {
  tls_ = ServerTls::make(certificatePem, privateKeyPem);
  return tls_ && start(port);
}

void DevServer::stop() {
  {
    std::lock_guard lock(mutex_);
    if (stopped_ || listener_ < 0) return;
    stopped_ = true;
    for (const auto& connection : connections_) connection->shutdown();
  }
  stopping_.notify_all();
  shutdown(listener_, SHUT_RDWR);
  acceptor_.join();
  close(listener_);
  std::vector<std::thread> workers;
  {
    std::lock_guard lock(mutex_);
    workers.swap(workers_);
  }
  for (std::thread& worker : workers) worker.join();
}

std::string DevServer::url(std::string_view path) const {
  return std::string(tls_ ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::vector<Request> DevServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

int DevServer::connectionCount() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(connections_.size());
}

int DevServer::openConnectionCount() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(std::count_if(connections_.begin(), connections_.end(),
                                        [](const auto& connection) { return !connection->isClosed(); }));
}

void DevServer::acceptLoop() {
  while (true) {
    const int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    std::lock_guard lock(mutex_);
    if (stopped_) {
      if (fd >= 0) close(fd);
      return;
    }
    if (fd < 0) continue;
    auto connection = std::make_shared<ServerConnection>(fd, tls_);
    connections_.push_back(connection);
    const int id = static_cast<int>(connections_.size());
    workers_.emplace_back([this, connection, id] { serve(connection, id); });
  }
}

void DevServer::serve(const std::shared_ptr<ServerConnection>& connection, int id) {
  if (!connection->accept()) return connection->close();
  RequestReader reader(*connection);
  while (std::optional<Request> request = reader.nextHead()) {
    const Handler early = headHandler(*request);
    if (!early && !reader.readBody(*request)) break;
    request->connection = id;
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(*request);
    }
    Exchange exchange(*request, *connection, [this](double seconds) { return pause(seconds); });
    if (early) {
      early(exchange);
      break;
    }
    answer(exchange);
    if (exchange.closesConnection() || connection->isClosed() || !keepsAlive(*request)) break;
  }
  connection->close();
}

Handler DevServer::headHandler(const Request& request) {
  std::lock_guard lock(mutex_);
  for (const HeadRoute& route : headRoutes_) {
    if (!matches(route.path, request.path)) continue;
    if (!route.unless.empty() && request.header(route.unless)) continue;
    return route.handler;
  }
  return nullptr;
}

void DevServer::answer(Exchange& exchange) {
  Handler handler;
  {
    std::lock_guard lock(mutex_);
    const std::string& path = exchange.request().path;
    for (auto& [pattern, faults] : faultPlans_) {
      if (faults.empty() || !matches(pattern, path)) continue;
      handler = std::move(faults.front());
      faults.pop_front();
      break;
    }
    for (const auto& [pattern, candidate] : routes_) {
      if (handler) break;
      if (matches(pattern, path)) handler = candidate;
    }
  }
  if (!handler) return exchange.respond(404, "no route\n");
  try {
    handler(exchange);
  } catch (const std::exception& e) {
    if (!exchange.answered()) exchange.respond(500, e.what());
  }
  if (!exchange.answered()) exchange.respond(500, "the handler did not answer\n");
}

bool DevServer::pause(double seconds) {
  std::unique_lock lock(mutex_);
  return !stopping_.wait_for(lock, std::chrono::duration<double>(seconds), [this] { return stopped_; });
}

}  // namespace devserver
