#include "platform/net/HttpReadStream.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstring>
#include <utility>

#include "platform/foundation/TextHelpers.h"
#include "platform/net/ConnectionPark.h"
#include "platform/net/SocketPoller.h"
#include "platform/net/StreamError.h"

namespace pf {
namespace {

constexpr std::size_t kIoChunk = 64 * 1024;
// Past this many unread body bytes the stream stops reading the socket until the client catches up.
constexpr std::size_t kHighWater = 256 * 1024;

std::uint64_t nextSerial() {
  static std::atomic<std::uint64_t> counter{0};
  return ++counter;
}

std::optional<std::uint64_t> parseLength(const std::string& text) {
  const std::string digits = text::trimWhitespace(text);
  if (digits.empty() || digits.size() > 18) return std::nullopt;
  if (!std::all_of(digits.begin(), digits.end(),
                   [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
    return std::nullopt;
  }
  return std::stoull(digits);
}

bool hasConnectionToken(const std::optional<std::string>& header, std::string_view token) {
  if (!header) return false;
  for (const std::string& piece : text::split(*header, ",")) {
    if (text::equalsIgnoringCase(text::trimWhitespace(piece), token)) return true;
  }
  return false;
}

// Takes one field (all of its lines of that name) out of a serialized head.
void removeHeadField(std::string& head, std::string_view name) {
  std::size_t line = head.find("\r\n") + 2;
  while (line < head.size()) {
    const std::size_t end = head.find("\r\n", line);
    if (end == std::string::npos || end == line) return;
    const std::size_t colon = head.find(':', line);
    if (colon < end && text::equalsIgnoringCase(std::string_view(head).substr(line, colon - line), name)) {
      head.erase(line, end + 2 - line);
    } else {
      line = end + 2;
    }
  }
}

std::string hex(std::uint64_t value) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  do {
    out.insert(out.begin(), kDigits[value & 0xf]);
    value >>= 4;
  } while (value != 0);
  return out;
}

}  // namespace

std::shared_ptr<HttpReadStream> HttpReadStream::make(std::shared_ptr<const HttpMessage> request,
                                                     std::shared_ptr<InputStream> body) {
  return std::shared_ptr<HttpReadStream>(new HttpReadStream(std::move(request), std::move(body)));
}

HttpReadStream::HttpReadStream(std::shared_ptr<const HttpMessage> request, std::shared_ptr<InputStream> body)
    : serial_(nextSerial()),
      request_(std::move(request)),
      body_(std::move(body)),
      schedule_(std::make_shared<StreamSchedule>()) {}

HttpReadStream::~HttpReadStream() {
  close();
}

void HttpReadStream::setAttemptPersistentConnection(bool attempt) {
  std::lock_guard lock(mutex_);
  persistent_ = attempt;
}

void HttpReadStream::setStreamId(std::optional<int> id) {
  std::lock_guard lock(mutex_);
  streamId_ = id;
}

void HttpReadStream::setTlsSettings(TlsSettings settings) {
  std::lock_guard lock(mutex_);
  tls_ = std::move(settings);
}

void HttpReadStream::setHttpProxy(std::optional<std::pair<std::string, int>> proxy) {
  std::lock_guard lock(mutex_);
  proxy_ = std::move(proxy);
}

void HttpReadStream::setSocksProxy(std::optional<SocksProxy> proxy) {
  std::lock_guard lock(mutex_);
  socks_ = std::move(proxy);
}

void HttpReadStream::setClient(unsigned events, Client client) {
  std::lock_guard lock(mutex_);
  eventMask_ = client ? events : 0;
  client_ = std::move(client);
  signal();
}

void HttpReadStream::schedule(const std::shared_ptr<RunLoop>& loop, const std::string& mode) {
  schedule_->schedule(loop, mode);
}

void HttpReadStream::unschedule() {
  schedule_->unschedule();
}

bool HttpReadStream::open() {
  std::lock_guard lock(mutex_);
  if (phase_ != Phase::Idle) return false;
  pending_.emplace();
  if (!prepareRequest()) return false;
  if (persistent_) {
    if (auto parked = ConnectionPark::shared().take(streamId_.value_or(-1), serverKey())) {
      connection_ = std::move(parked);
      reused_ = true;
      phase_ = Phase::Exchanging;
      openCompletedDue_ = true;
      pump();
      return true;
    }
  }
  resolve();
  return true;
}

long long HttpReadStream::read(std::uint8_t* buffer, std::size_t maxLength) {
  std::lock_guard lock(mutex_);
  if (phase_ == Phase::Failed) return -1;
  const std::size_t count = std::min(maxLength, buffered());
  if (count > 0) std::memcpy(buffer, buffer_.data() + bufferOffset_, count);
  bufferOffset_ += count;
  if (bufferOffset_ == buffer_.size() || bufferOffset_ > kHighWater) {
    buffer_.erase(0, bufferOffset_);
    bufferOffset_ = 0;
  }
  bytesDue_ = buffered() > 0;
  if (readingPaused_ && buffered() < kHighWater / 2) {
    readingPaused_ = false;
    if (phase_ == Phase::Exchanging) pump();
  }
  signal();
  return static_cast<long long>(count);
}

bool HttpReadStream::hasBytesAvailable() const {
  std::lock_guard lock(mutex_);
  return buffered() > 0;
}

void HttpReadStream::close() {
  std::lock_guard lock(mutex_);
  if (phase_ == Phase::Closed) return;
  phase_ = Phase::Closed;
  dropConnection();
  ConnectionPark::shared().discard(serial_);
  if (body_) body_->close();
  pending_.reset();
  client_ = nullptr;
}

HttpReadStream::Status HttpReadStream::status() const {
  std::lock_guard lock(mutex_);
  switch (phase_) {
    case Phase::Idle:
      return Status::NotOpen;
    case Phase::Resolving:
    case Phase::Connecting:
    case Phase::Tunnelling:
    case Phase::Handshaking:
      return Status::Opening;
    case Phase::Exchanging:
      return Status::Open;
    case Phase::Finished:
      return buffered() > 0 ? Status::Open : Status::AtEnd;
    case Phase::Failed:
      return Status::Error;
    case Phase::Closed:
      return Status::Closed;
  }
  return Status::Error;
}

ErrorPtr HttpReadStream::error() const {
  std::lock_guard lock(mutex_);
  return error_;
}

std::shared_ptr<const HttpMessage> HttpReadStream::responseHeader() const {
  std::lock_guard lock(mutex_);
  return response_;
}

std::uint64_t HttpReadStream::requestBytesWritten() const {
  std::lock_guard lock(mutex_);
  return bodyBytesWritten_;
}

bool HttpReadStream::failedUnansweredOnReusedConnection() const {
  std::lock_guard lock(mutex_);
  return phase_ == Phase::Failed && reused_ && !receivedAny_;
}

bool HttpReadStream::prepareRequest() {
  const Url& url = request_->url();
  if ((url.scheme() != "http" && url.scheme() != "https") || url.host().empty()) {
    fail(StreamError::network(StreamError::kBadUrl, "cannot send a request to " + url.absoluteString()));
    return false;
  }
  std::vector<HttpMessage::Field> added;
  const std::optional<std::string> length = request_->headerField("Content-Length");
  if (body_) {
    if (length) {
      bodyLength_ = parseLength(*length);
      if (!bodyLength_) {
        fail(
            StreamError::network(StreamError::kBodyStreamFailure, "malformed Content-Length in the request"));
        return false;
      }
    } else {
      chunkedBody_ = true;
      added.push_back({"Transfer-Encoding", "chunked"});
    }
    if (!body_->open()) {
      ErrorPtr cause = body_->error();
      fail(cause ? cause
                 : StreamError::network(StreamError::kBodyStreamFailure, "cannot open the request body"));
      return false;
    }
  } else if (!request_->body().empty()) {
    const std::size_t size = request_->body().size();
    if (length && parseLength(*length) != size) {
      fail(StreamError::network(StreamError::kBodyStreamFailure,
                                "Content-Length differs from the request body"));
      return false;
    }
    if (!length) added.push_back({"Content-Length", std::to_string(size)});
  }
  if (!persistent_ && !request_->headerField("Connection")) added.push_back({"Connection", "close"});
  outgoing_ = request_->serializedHead(added);
  if (socks_ || tunnelsThroughHttpProxy()) removeHeadField(outgoing_, "Proxy-Authorization");
  if (viaProxy()) {
    // A proxy is told the whole URL (never its user name and password) in place of the path.
    const std::size_t start = outgoing_.find(' ') + 1;
    const std::size_t end = outgoing_.find(' ', start);
    outgoing_.replace(start, end - start, url.scheme() + "://" + url.hostAndPort() + url.requestTarget());
  }
  return true;
}

bool HttpReadStream::viaProxy() const {
  return proxy_ && !socks_ && request_->url().scheme() == "http";
}

bool HttpReadStream::tunnelsThroughHttpProxy() const {
  return proxy_ && !socks_ && request_->url().scheme() == "https";
}

std::string HttpReadStream::connectRequest() const {
  const Url& url = request_->url();
  const std::string host = url.host().find(':') == std::string::npos ? url.host() : "[" + url.host() + "]";
  const std::string authority = host + ":" + std::to_string(url.portOrDefault());
  std::string head = "CONNECT " + authority + " HTTP/1.1\r\nHost: " + authority + "\r\n";
  for (const char* name : {"User-Agent", "Proxy-Authorization"}) {
    if (const std::optional<std::string> value = request_->headerField(name)) {
      head += std::string(name) + ": " + *value + "\r\n";
    }
  }
  return head + "\r\n";
}

// A kept connection serves only requests that would take the same way to the same server.
std::string HttpReadStream::serverKey() const {
  if (viaProxy()) return "proxy://" + proxy_->first + ":" + std::to_string(proxy_->second);
  const Url& url = request_->url();
  std::string key = url.scheme() + "://" + url.host() + ":" + std::to_string(url.portOrDefault());
  if (url.scheme() == "https") {
    key += "|" + std::to_string(tls_.validatesCertificateChain) +
           std::to_string(tls_.allowsExpiredCertificates) + std::to_string(tls_.allowsAnyRoot) + "|" +
           tls_.peerName.value_or(url.host()) + "|" +
           std::to_string(std::hash<std::string>()(tls_.anchorCertificatesPem));
  }
  if (socks_) {
    return "socks://" + socks_->host + ":" + std::to_string(socks_->port) + "|" + socks_->user.value_or("") +
           "|" + key;
  }
  if (tunnelsThroughHttpProxy()) {
    return "tunnel://" + proxy_->first + ":" + std::to_string(proxy_->second) + "|" + key;
  }
  return key;
}

void HttpReadStream::resolve() {
  phase_ = Phase::Resolving;
  std::weak_ptr<HttpReadStream> weak = weak_from_this();
  std::shared_ptr<StreamSchedule> schedule = schedule_;
  const Url& url = request_->url();
  std::string host = url.host();
  int port = url.portOrDefault();
  if (socks_) {
    host = socks_->host;
    port = socks_->port;
  } else if (proxy_) {
    host = proxy_->first;
    port = proxy_->second;
  }
  HostResolver::resolve(host, port, [weak, schedule](HostResolver::Answer answer) {
    schedule->deliver([weak, answer = std::move(answer)]() mutable {
      if (auto self = weak.lock()) {
        std::lock_guard lock(self->mutex_);
        self->onResolved(std::move(answer));
      }
    });
  });
}

void HttpReadStream::onResolved(HostResolver::Answer answer) {
  if (phase_ != Phase::Resolving) return;
  if (answer.error) return fail(answer.error);
  addresses_ = std::move(answer.addresses);
  nextAddress_ = 0;
  connectNext();
}

void HttpReadStream::connectNext() {
  while (nextAddress_ < addresses_.size()) {
    IoResult result;
    std::unique_ptr<SocketConnection> connection =
        SocketConnection::connect(addresses_[nextAddress_++], result);
    if (!connection) {
      lastConnectError_ = result.error;
      continue;
    }
    connection_ = std::move(connection);
    phase_ = Phase::Connecting;
    if (result.status == IoResult::Status::Done) {
      onConnected();
    } else {
      watch(false, true);
    }
    return;
  }
  fail(lastConnectError_
           ? lastConnectError_
           : StreamError::network(StreamError::kCannotFindHost, "no address for " + request_->url().host()));
}

void HttpReadStream::onConnectable() {
  IoResult result = connection_->finishConnect();
  switch (result.status) {
    case IoResult::Status::Done:
      return onConnected();
    case IoResult::Status::WouldBlock:
      return watch(false, true);
    default:
      lastConnectError_ = result.error;
      dropConnection();
      return connectNext();
  }
}

void HttpReadStream::onConnected() {
  openCompletedDue_ = true;
  if (socks_ || tunnelsThroughHttpProxy()) return startTunnel();
  onTunnelReady();
}

void HttpReadStream::startTunnel() {
  phase_ = Phase::Tunnelling;
  const Url& url = request_->url();
  if (socks_) {
    std::optional<SocksHandshake::Credentials> credentials;
    if (socks_->user && socks_->password)
      credentials = SocksHandshake::Credentials{*socks_->user, *socks_->password};
    socksHandshake_ =
        std::make_unique<SocksHandshake>(url.host(), url.portOrDefault(), std::move(credentials));
    if (socksHandshake_->error()) return fail(socksHandshake_->error());
    tunnelOut_ = socksHandshake_->takeOutgoing();
  } else {
    connectParser_.emplace();
    tunnelOut_ = connectRequest();
  }
  tunnelOutOffset_ = 0;
  stepTunnel();
}

void HttpReadStream::stepTunnel() {
  std::uint8_t chunk[4096];
  while (phase_ == Phase::Tunnelling) {
    const bool sending = tunnelOutOffset_ < tunnelOut_.size();
    IoResult result =
        sending
            ? connection_->write(reinterpret_cast<const std::uint8_t*>(tunnelOut_.data()) + tunnelOutOffset_,
                                 tunnelOut_.size() - tunnelOutOffset_)
            : connection_->read(chunk, sizeof chunk);
    switch (result.status) {
      case IoResult::Status::Done:
        if (sending) {
          tunnelOutOffset_ += result.count;
        } else {
          takeTunnelBytes(std::string_view(reinterpret_cast<const char*>(chunk), result.count));
        }
        break;
      case IoResult::Status::WouldBlock:
        return watch(!sending, sending);
      case IoResult::Status::Closed:
        return fail(StreamError::network(StreamError::kProxyConnectionFailure,
                                         "the proxy closed the connection before the tunnel was open"));
      default:
        return fail(result.error);
    }
  }
}

void HttpReadStream::takeTunnelBytes(std::string_view bytes) {
  if (socksHandshake_) {
    const std::size_t used = socksHandshake_->feed(bytes);
    if (socksHandshake_->error()) return fail(socksHandshake_->error());
    if (!socksHandshake_->done()) {
      tunnelOut_ = socksHandshake_->takeOutgoing();
      tunnelOutOffset_ = 0;
      return;
    }
    if (used < bytes.size()) {
      return fail(
          StreamError::network(StreamError::kSocksBadState, "the SOCKS proxy sent more than its answer"));
    }
    return onTunnelReady();
  }
  tunnelIn_.append(bytes);
  const std::size_t taken = connectParser_->feed(bytes);
  if (connectParser_->state() == HttpResponseHeadParser::State::Failed) {
    return fail(StreamError::network(StreamError::kProxyConnectionFailure,
                                     "malformed answer from the proxy: " + connectParser_->failure()));
  }
  if (connectParser_->state() != HttpResponseHeadParser::State::Complete) return;
  const int status = connectParser_->response()->statusCode();
  if (status >= 200 && status < 300) {
    if (taken < bytes.size()) {
      return fail(StreamError::network(StreamError::kProxyConnectionFailure,
                                       "the proxy sent more than its answer to CONNECT"));
    }
    tunnelIn_.clear();
    return onTunnelReady();
  }
  // The proxy's refusal is the answer: the client reads it, and its proxy credentials may answer it.
  tunnelRefused_ = true;
  bodyQueued_ = true;
  outgoing_.clear();
  outgoingOffset_ = 0;
  phase_ = Phase::Exchanging;
  const std::string answer = std::exchange(tunnelIn_, std::string());
  take(answer);
  if (phase_ == Phase::Exchanging) pump();
}

void HttpReadStream::onTunnelReady() {
  if (request_->url().scheme() != "https") {
    phase_ = Phase::Exchanging;
    return pump();
  }
  ErrorPtr error;
  if (!connection_->startTls(tls_, request_->url().host(), error)) return fail(error);
  phase_ = Phase::Handshaking;
  stepHandshake();
}

void HttpReadStream::stepHandshake() {
  IoResult result = connection_->handshake();
  switch (result.status) {
    case IoResult::Status::Done:
      phase_ = Phase::Exchanging;
      return pump();
    case IoResult::Status::WouldBlock:
      signal();
      return watch(!result.waitsForWrite, result.waitsForWrite);
    default:
      return fail(result.error);
  }
}

void HttpReadStream::pump() {
  bool wantRead = false;
  bool wantWrite = false;
  auto noteWait = [&](const IoResult& result) { (result.waitsForWrite ? wantWrite : wantRead) = true; };
  while (phase_ == Phase::Exchanging && !stoppedSending_) {
    if (outgoingOffset_ == outgoing_.size()) {
      bodyBytesWritten_ += outgoingChunkPayload_;
      outgoingChunkPayload_ = 0;
      outgoing_.clear();
      outgoingOffset_ = 0;
      if (!fillOutgoing()) break;
    }
    const auto* data = reinterpret_cast<const std::uint8_t*>(outgoing_.data()) + outgoingOffset_;
    IoResult result = connection_->write(data, outgoing_.size() - outgoingOffset_);
    if (result.status == IoResult::Status::Done) {
      outgoingOffset_ += result.count;
      if (outgoingIsBody_) bodyBytesWritten_ += result.count;
    } else if (result.status == IoResult::Status::WouldBlock) {
      noteWait(result);
      break;
    } else {
      // The server stopped listening: it may have answered first (401, 407, 413) and closed while the
      // body was still going. Read what it said; the failed write counts only if nothing was said.
      stoppedSending_ = true;
      if (!response_) sendError_ = result.error;
    }
  }
  std::uint8_t chunk[kIoChunk];
  while (phase_ == Phase::Exchanging && !readingPaused_) {
    if (buffered() >= kHighWater) {
      readingPaused_ = true;
      break;
    }
    IoResult result = connection_->read(chunk, sizeof chunk);
    if (result.status == IoResult::Status::Done) {
      take(std::string_view(reinterpret_cast<const char*>(chunk), result.count));
    } else if (result.status == IoResult::Status::WouldBlock) {
      noteWait(result);
      break;
    } else if (result.status == IoResult::Status::Closed) {
      onPeerClosed();
    } else {
      failTransfer(!response_ && sendError_ ? sendError_ : result.error);
    }
  }
  if (phase_ == Phase::Exchanging && (wantRead || wantWrite)) watch(wantRead, wantWrite);
  signal();
}

bool HttpReadStream::fillOutgoing() {
  outgoingIsBody_ = false;
  if (bodyQueued_) return false;
  if (!body_) {
    bodyQueued_ = true;
    outgoing_.assign(request_->body().begin(), request_->body().end());
    outgoingIsBody_ = true;
    return !outgoing_.empty();
  }
  std::uint8_t chunk[kIoChunk];
  std::size_t want = sizeof chunk;
  if (bodyLength_)
    want = static_cast<std::size_t>(std::min<std::uint64_t>(want, *bodyLength_ - bodyBytesRead_));
  const long long count = want == 0 ? 0 : body_->read(chunk, want);
  if (count < 0) {
    ErrorPtr cause = body_->error();
    failTransfer(cause
                     ? cause
                     : StreamError::network(StreamError::kBodyStreamFailure, "cannot read the request body"));
    return false;
  }
  if (count == 0) {
    bodyQueued_ = true;
    body_->close();
    if (bodyLength_ && bodyBytesRead_ < *bodyLength_) {
      failTransfer(StreamError::network(StreamError::kBodyStreamFailure,
                                        "the request body ended before its Content-Length"));
      return false;
    }
    if (!chunkedBody_) return false;
    outgoing_ = "0\r\n\r\n";
    return true;
  }
  bodyBytesRead_ += static_cast<std::uint64_t>(count);
  const std::string_view bytes(reinterpret_cast<const char*>(chunk), static_cast<std::size_t>(count));
  if (chunkedBody_) {
    outgoing_ = hex(static_cast<std::uint64_t>(count)) + "\r\n" + std::string(bytes) + "\r\n";
    outgoingChunkPayload_ = static_cast<std::uint64_t>(count);
  } else {
    outgoing_ = std::string(bytes);
    outgoingIsBody_ = true;
  }
  return true;
}

void HttpReadStream::take(std::string_view bytes) {
  receivedAny_ = true;
  if (!response_) {
    const std::size_t taken = headParser_.feed(bytes);
    if (headParser_.state() == HttpResponseHeadParser::State::Failed) {
      return failTransfer(
          StreamError::network(StreamError::kParseFailure, "malformed response: " + headParser_.failure()));
    }
    if (headParser_.state() != HttpResponseHeadParser::State::Complete) return;
    response_ = headParser_.response();
    headDue_ = true;
    decoder_.emplace(*response_, request_->method() == "HEAD");
    bytes.remove_prefix(taken);
    if (decoder_->state() == HttpBodyDecoder::State::Done) return onBodyComplete(!bytes.empty());
  }
  const std::size_t before = buffer_.size();
  const std::size_t taken = decoder_->feed(bytes, buffer_);
  if (buffer_.size() > before) bytesDue_ = true;
  if (decoder_->state() == HttpBodyDecoder::State::Failed) {
    failTransfer(
        StreamError::network(StreamError::kParseFailure, "malformed response: " + decoder_->failure()));
  } else if (decoder_->state() == HttpBodyDecoder::State::Done) {
    onBodyComplete(taken < bytes.size());
  }
}

void HttpReadStream::onPeerClosed() {
  dropConnection();
  if (!response_) {
    return failTransfer(sendError_ ? sendError_
                                   : StreamError::network(StreamError::kConnectionLost,
                                                          "the server closed the connection before answering"));
  }
  decoder_->finish();
  if (decoder_->state() == HttpBodyDecoder::State::Done) return onBodyComplete(false);
  failTransfer(StreamError::network(StreamError::kConnectionLost,
                                    "the server closed the connection: " + decoder_->failure()));
}

void HttpReadStream::onBodyComplete(bool bytesLeftOver) {
  bodyComplete_ = true;
  phase_ = Phase::Finished;
  const bool requestSent = bodyQueued_ && outgoingOffset_ == outgoing_.size() && !stoppedSending_;
  const bool reusable = connection_ && persistent_ && !bytesLeftOver && requestSent && !tunnelRefused_ &&
                        decoder_->framing() != HttpBodyDecoder::Framing::UntilClose && serverAllowsReuse();
  if (reusable) {
    SocketPoller::shared().unwatch(connection_->fd());
    ConnectionPark::shared().park(streamId_.value_or(-1), serverKey(), std::move(connection_), serial_);
  } else {
    dropConnection();
  }
  if (body_) body_->close();
  pending_.reset();
  signal();
}

bool HttpReadStream::serverAllowsReuse() const {
  const std::optional<std::string> connection = response_->headerField("Connection");
  if (hasConnectionToken(connection, "close") ||
      hasConnectionToken(request_->headerField("Connection"), "close")) {
    return false;
  }
  return response_->version() != HttpMessage::kVersion1_0 || hasConnectionToken(connection, "keep-alive");
}

void HttpReadStream::failTransfer(ErrorPtr error) {
  if (reused_ && !receivedAny_) {
    error = StreamError::network(StreamError::kConnectionLost,
                                 "the kept-alive connection failed: " + error->localizedDescription());
  }
  fail(std::move(error));
}

void HttpReadStream::fail(ErrorPtr error) {
  error_ = std::move(error);
  phase_ = Phase::Failed;
  dropConnection();
  if (body_) body_->close();
  pending_.reset();
  signal();
}

void HttpReadStream::dropConnection() {
  connection_.reset();
}

void HttpReadStream::watch(bool forRead, bool forWrite) {
  std::weak_ptr<HttpReadStream> weak = weak_from_this();
  std::shared_ptr<StreamSchedule> schedule = schedule_;
  ErrorPtr refused = SocketPoller::shared().watch(connection_->fd(), forRead, forWrite, [weak, schedule] {
    schedule->deliver([weak] {
      if (auto self = weak.lock()) self->onReady();
    });
  });
  if (refused) fail(std::move(refused));
}

void HttpReadStream::onReady() {
  std::lock_guard lock(mutex_);
  switch (phase_) {
    case Phase::Connecting:
      return onConnectable();
    case Phase::Tunnelling:
      return stepTunnel();
    case Phase::Handshaking:
      return stepHandshake();
    case Phase::Exchanging:
      return pump();
    default:
      return;
  }
}

void HttpReadStream::signal() {
  const bool due = (phase_ == Phase::Failed && !errorReported_) || openCompletedDue_ || headDue_ ||
                   bytesDue_ || (bodyComplete_ && buffered() == 0 && !endReported_);
  if (!client_ || eventPosted_ || !due) return;
  eventPosted_ = true;
  std::weak_ptr<HttpReadStream> weak = weak_from_this();
  schedule_->deliver([weak] {
    if (auto self = weak.lock()) self->deliverEvent();
  });
}

void HttpReadStream::deliverEvent() {
  std::unique_lock lock(mutex_);
  eventPosted_ = false;
  if (phase_ == Phase::Closed) return;
  std::optional<Event> event = nextEvent();
  if (!event) return;
  Client client = client_;
  if (!client) return;
  lock.unlock();
  client(*event);
  lock.lock();
  signal();
}

std::optional<HttpReadStream::Event> HttpReadStream::nextEvent() {
  while (true) {
    Event event;
    if (phase_ == Phase::Failed) {
      if (errorReported_) return std::nullopt;
      errorReported_ = true;
      event = kErrorOccurred;
    } else if (openCompletedDue_) {
      openCompletedDue_ = false;
      event = kOpenCompleted;
    } else if (headDue_ || bytesDue_) {
      headDue_ = bytesDue_ = false;
      event = kHasBytesAvailable;
    } else if (bodyComplete_ && buffered() == 0 && !endReported_) {
      endReported_ = true;
      event = kEndEncountered;
    } else {
      return std::nullopt;
    }
    if (eventMask_ & event) return event;
  }
}

}  // namespace pf
