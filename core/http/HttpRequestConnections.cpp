// The persistent-connection side of an HttpRequest: choosing, giving back and dropping pool records,
// whether the server lets a connection be reused, scheduling the read stream on the request's run loop,
// and the network activity indicator that follows the scheduled streams.

#include <atomic>

#include "core/http/ConnectionPool.h"
#include "core/http/HttpRequest.h"
#include "platform/foundation/TextHelpers.h"
#include "platform/net/HttpMessage.h"
#include "platform/net/HttpReadStream.h"

namespace {

constexpr double kIndicatorHideDelay = 0.5;

std::atomic<bool>& indicatorVisible() {
  static std::atomic<bool> visible{false};
  return visible;
}

double now() {
  return pf::Date::now().seconds;
}

// The integer after `key` in a "Keep-Alive" value; 0 when absent.
int keepAliveNumber(const std::string& value, const std::string& key) {
  const std::size_t at = value.find(key);
  if (at == std::string::npos) return 0;
  try {
    return std::stoi(value.substr(at + key.size()));
  } catch (const std::exception&) {
    return 0;
  }
}

}  // namespace

std::shared_ptr<pf::HttpReadStream> HttpRequest::attachConnection() {
  expirePersistentConnections();
  ConnectionPool& pool = ConnectionPool::shared();
  std::shared_ptr<pf::HttpReadStream> setAside;
  std::optional<int> streamId;
  {
    std::lock_guard lock(pool.guard());
    if (url_->host().empty() || url_->scheme().empty()) {
      connectionInfo = nullptr;
      shouldAttemptPersistentConnection = false;
    }
    if (shouldAttemptPersistentConnection) {
      const int port = url_->port().value_or(0);
      if (connectionInfo) {
        const bool sameServer = connectionInfo->host == url_->host() &&
                                connectionInfo->scheme == url_->scheme() && connectionInfo->port == port;
        const bool expired = connectionInfo->expires && *connectionInfo->expires < now();
        if (sameServer && expired) pool.removeRecord(connectionInfo);
        if (!sameServer || expired || connectionInfo->request || !pool.contains(connectionInfo)) {
          connectionInfo = nullptr;
        }
      }
      if (!connectionInfo) connectionInfo = pool.lastIdleRecord(url_->scheme(), url_->host(), port);
      if (connectionInfo) setAside = connectionInfo->stream;
      if (!connectionInfo) connectionInfo = pool.addRecord(url_->scheme(), url_->host(), port);
      if (!requestID.get()) requestID.set(pool.nextRequestNumber());
      connectionInfo->request = requestID.get();
      connectionInfo->stream = readStream;
      streamId = connectionInfo->id;
    }
  }
  if (streamId) {
    // Streams with the same id share one socket.
    readStream->setAttemptPersistentConnection(true);
    readStream->setStreamId(streamId);
  }
  return setAside;
}

void HttpRequest::decideConnectionReuse(const pf::HttpMessage& response) {
  connectionCanBeReused = false;
  if (!shouldAttemptPersistentConnection) return;
  const std::string connection = pf::text::lowercase(response.headerField("Connection").value_or(""));
  if ((response.version() == pf::HttpMessage::kVersion1_0 && connection != "keep-alive") ||
      connection == "close") {
    return;
  }
  const std::optional<std::string> keepAlive = response.headerField("Keep-Alive");
  if (!keepAlive) {
    connectionCanBeReused = true;
    return;
  }
  const std::string terms = pf::text::lowercase(*keepAlive);
  const int timeout = keepAliveNumber(terms, "timeout=");
  const int max = keepAliveNumber(terms, "max=");
  // A server about to close the connection after a few more requests is not worth keeping.
  if (max > 5) {
    connectionCanBeReused = true;
    persistentConnectionTimeoutSeconds = timeout;
  }
}

void HttpRequest::releaseConnection() {
  std::lock_guard lock(ConnectionPool::shared().guard());
  if (!connectionCanBeReused) unscheduleReadStream();
  if (!connectionInfo) return;
  connectionInfo->request.reset();
  connectionInfo->expires = now() + persistentConnectionTimeoutSeconds;
}

void HttpRequest::dropConnection() {
  ConnectionPool& pool = ConnectionPool::shared();
  std::lock_guard lock(pool.guard());
  if (!connectionInfo) return;
  connectionInfo->request.reset();
  pool.removeRecord(connectionInfo);
}

std::optional<int> HttpRequest::connectionID() const {
  std::lock_guard lock(ConnectionPool::shared().guard());
  if (!connectionInfo) return std::nullopt;
  return connectionInfo->id;
}

void HttpRequest::expirePersistentConnections() {
  ConnectionPool& pool = ConnectionPool::shared();
  std::vector<std::shared_ptr<pf::HttpReadStream>> closing;
  {
    std::lock_guard lock(pool.guard());
    closing = pool.removeExpired(now());
  }
  // Closing the stream closes the socket it kept for reuse.
  for (const auto& stream : closing) stream->close();
}

// ---- the read stream on the run loop ----

void HttpRequest::scheduleReadStream() {
  if (!readStream || readStreamIsScheduled) return;
  {
    ConnectionPool& pool = ConnectionPool::shared();
    std::lock_guard lock(pool.guard());
    pool.streamScheduled();
    if (pool.shouldUpdateNetworkActivityIndicator) showNetworkActivityIndicator();
  }
  lastActivityTime = pf::Date::now();
  std::shared_ptr<pf::RunLoop> loop = requestRunLoop_.lock();
  readStream->schedule(loop ? loop : pf::RunLoop::current(), runLoopMode);
  readStreamIsScheduled = true;
  transferUnderWay_.emplace();
}

// The stream keeps its client: while unscheduled it delivers nothing.
void HttpRequest::unscheduleReadStream() {
  if (!readStream || !readStreamIsScheduled) return;
  {
    ConnectionPool& pool = ConnectionPool::shared();
    std::lock_guard lock(pool.guard());
    if (pool.streamUnscheduled() == 1 && pool.shouldUpdateNetworkActivityIndicator) {
      hideNetworkActivityIndicatorAfterDelay();
    }
  }
  readStream->unschedule();
  readStreamIsScheduled = false;
  transferUnderWay_.reset();
}

void HttpRequest::destroyReadStream() {
  if (!readStream) return;
  unscheduleReadStream();
  // A reusable stream that reached its end stays open so its socket survives for the next request. One
  // left mid-answer (a cancel) is closed: no one will read the rest, and until the server hung up it
  // would hold its socket and count as network work under way.
  if (!connectionCanBeReused || readStream->status() != pf::HttpReadStream::Status::AtEnd) readStream->close();
  readStream.reset();
}

// ---- network activity indicator ----

bool HttpRequest::isNetworkInUse() {
  ConnectionPool& pool = ConnectionPool::shared();
  std::lock_guard lock(pool.guard());
  return pool.openStreamCount() > 0;
}

void HttpRequest::setShouldUpdateNetworkActivityIndicator(bool shouldUpdate) {
  ConnectionPool& pool = ConnectionPool::shared();
  std::lock_guard lock(pool.guard());
  pool.shouldUpdateNetworkActivityIndicator = shouldUpdate;
}

bool HttpRequest::isNetworkActivityIndicatorVisible() {
  return indicatorVisible();
}

void HttpRequest::showNetworkActivityIndicator() {
  indicatorVisible() = true;
}

void HttpRequest::hideNetworkActivityIndicator() {
  indicatorVisible() = false;
}

void HttpRequest::hideNetworkActivityIndicatorAfterDelay() {
  // A request starting within the delay keeps the indicator on, so quick successions do not flicker.
  pf::RunLoop::main()->performAfter(
      kIndicatorHideDelay, [] { hideNetworkActivityIndicatorIfNeeeded(); }, pf::RunLoop::kCommonModes);
}

void HttpRequest::hideNetworkActivityIndicatorIfNeeeded() {
  ConnectionPool& pool = ConnectionPool::shared();
  std::lock_guard lock(pool.guard());
  if (pool.openStreamCount() == 0) hideNetworkActivityIndicator();
}
