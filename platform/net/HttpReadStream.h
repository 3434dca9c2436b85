#pragma once
// Sends one HTTP request and reads its response, as the platform's HTTP read stream did. The stream is
// scheduled on a run loop in a mode; its client hears of progress there: open completed (connected),
// bytes available (the response head is complete, or body bytes wait to be read), an error, the end of
// the body. The client pulls body bytes with read(); the framing (chunked, Content-Length) is taken off,
// content codings are not. Name lookup runs on a pool thread and every socket wait on the shared poller,
// so the loop's thread never blocks on the network. While unscheduled the stream makes no progress and
// reports nothing; scheduling it again picks up where it stopped.
//
// Persistent connections: a stream that attempts them parks its socket once its response is complete
// and the server allows reuse; a later stream with the same stream id to the same server takes it.
// Errors carry StreamError domains and codes.
//
// Thread rules: made with make(); every member may be called from any thread (the state has a lock),
// but the client runs on the scheduled loop, and the usual caller is that loop's thread. The stream
// keeps the run loop's virtual clock from jumping while its exchange is under way.

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "platform/foundation/RunLoop.h"
#include "platform/net/HostResolver.h"
#include "platform/net/HttpBodyDecoder.h"
#include "platform/net/HttpMessage.h"
#include "platform/net/HttpResponseHeadParser.h"
#include "platform/net/InputStream.h"
#include "platform/net/SocketConnection.h"
#include "platform/net/SocksHandshake.h"
#include "platform/net/StreamSchedule.h"
#include "platform/net/TlsSettings.h"

namespace pf {

class HttpReadStream : public std::enable_shared_from_this<HttpReadStream> {
 public:
  enum Event : unsigned {
    kOpenCompleted = 1,
    kHasBytesAvailable = 2,
    kErrorOccurred = 8,
    kEndEncountered = 16
  };
  enum class Status { NotOpen, Opening, Open, AtEnd, Closed, Error };
  using Client = std::function<void(Event)>;

  // The body, when given, is read from the stream (and sent chunked unless the request names a
  // "Content-Length"); otherwise the request's own body is sent.
  static std::shared_ptr<HttpReadStream> make(std::shared_ptr<const HttpMessage> request,
                                              std::shared_ptr<InputStream> body = nullptr);
  ~HttpReadStream();
  HttpReadStream(const HttpReadStream&) = delete;
  HttpReadStream& operator=(const HttpReadStream&) = delete;

  // Settings, taken at open.
  void setAttemptPersistentConnection(bool attempt);
  void setStreamId(std::optional<int> id);
  void setTlsSettings(TlsSettings settings);
  // An HTTP proxy (host, port). An http URL goes to the proxy with the URL in absolute form; an https URL
  // is tunnelled through it with CONNECT, TLS running inside the tunnel and the certificate checked
  // against the server's name. A proxy that refuses the tunnel (a 407 asking for credentials, say) is
  // answered as the response. The request's "Proxy-Authorization" goes to the proxy, never through the
  // tunnel.
  void setHttpProxy(std::optional<std::pair<std::string, int>> proxy);
  // A SOCKS 5 proxy for either scheme, with the user name and password it may ask for. Takes precedence
  // over an HTTP proxy.
  struct SocksProxy {
    std::string host;
    int port = 0;
    std::optional<std::string> user;
    std::optional<std::string> password;
  };
  void setSocksProxy(std::optional<SocksProxy> proxy);

  // events: the Event bits the client wants; a null client hears nothing.
  void setClient(unsigned events, Client client);
  void schedule(const std::shared_ptr<RunLoop>& loop, const std::string& mode = RunLoop::kDefaultMode);
  void unschedule();

  // Starts the exchange; false when the stream was opened before or the request cannot be sent (a URL
  // that is not http or https with a host, a malformed "Content-Length"), with error() saying why.
  bool open();
  // Body bytes into buffer: their count, 0 when none wait (or at the end), -1 after an error.
  long long read(std::uint8_t* buffer, std::size_t maxLength);
  bool hasBytesAvailable() const;
  // Ends the exchange; the socket is closed unless it was parked for reuse and taken already.
  void close();

  Status status() const;
  ErrorPtr error() const;
  // The response head, once complete.
  std::shared_ptr<const HttpMessage> responseHeader() const;
  // Bytes of the request body sent so far.
  std::uint64_t requestBytesWritten() const;
  // True when the exchange failed on a parked connection before any byte of the answer arrived: the
  // server closed a socket it had kept, so the request may go out again on a new connection. Any other
  // failure may have reached the server, and sending again could run the request twice.
  bool failedUnansweredOnReusedConnection() const;

 private:
  enum class Phase {
    Idle,
    Resolving,
    Connecting,
    Tunnelling,
    Handshaking,
    Exchanging,
    Finished,
    Failed,
    Closed
  };

  HttpReadStream(std::shared_ptr<const HttpMessage> request, std::shared_ptr<InputStream> body);

  // Each of these expects mutex_ held.
  bool prepareRequest();
  std::string serverKey() const;
  bool viaProxy() const;
  bool tunnelsThroughHttpProxy() const;
  std::string connectRequest() const;
  void resolve();
  void onResolved(HostResolver::Answer answer);
  void connectNext();
  void onConnectable();
  void onConnected();
  void startTunnel();
  void stepTunnel();
  void takeTunnelBytes(std::string_view bytes);
  void onTunnelReady();
  void stepHandshake();
  void pump();
  // Puts the next piece of the request body into outgoing_; false when there is none.
  bool fillOutgoing();
  void take(std::string_view bytes);
  void onPeerClosed();
  void onBodyComplete(bool bytesLeftOver);
  bool serverAllowsReuse() const;
  void fail(ErrorPtr error);
  void failTransfer(ErrorPtr error);
  void dropConnection();
  void watch(bool forRead, bool forWrite);
  void onReady();
  void signal();
  void deliverEvent();
  std::optional<Event> nextEvent();
  std::size_t buffered() const { return buffer_.size() - bufferOffset_; }

  mutable std::mutex mutex_;
  const std::uint64_t serial_;
  const std::shared_ptr<const HttpMessage> request_;
  const std::shared_ptr<InputStream> body_;
  const std::shared_ptr<StreamSchedule> schedule_;
  bool persistent_ = false;
  std::optional<int> streamId_;
  TlsSettings tls_;
  std::optional<std::pair<std::string, int>> proxy_;
  std::optional<SocksProxy> socks_;

  Phase phase_ = Phase::Idle;
  std::optional<RunLoop::PendingWork> pending_;
  std::unique_ptr<SocketConnection> connection_;
  bool reused_ = false;
  std::vector<SocketAddress> addresses_;
  std::size_t nextAddress_ = 0;
  ErrorPtr lastConnectError_;

  // Opening the way through a proxy: what to send, how much went out, what came back.
  std::string tunnelOut_;
  std::size_t tunnelOutOffset_ = 0;
  std::string tunnelIn_;
  std::optional<HttpResponseHeadParser> connectParser_;
  std::unique_ptr<SocksHandshake> socksHandshake_;
  // The proxy refused the tunnel: its answer is the response, and the request never went out.
  bool tunnelRefused_ = false;

  // Sending: the frame being written, how much of it went out, and what it carries of the body.
  std::string outgoing_;
  std::size_t outgoingOffset_ = 0;
  bool outgoingIsBody_ = false;
  std::uint64_t outgoingChunkPayload_ = 0;
  bool chunkedBody_ = false;
  bool bodyQueued_ = false;
  bool stoppedSending_ = false;
  // A write that failed before the answer's head came: reported only if no answer can be read.
  ErrorPtr sendError_;
  std::optional<std::uint64_t> bodyLength_;
  std::uint64_t bodyBytesRead_ = 0;
  std::uint64_t bodyBytesWritten_ = 0;

  // Receiving.
  bool receivedAny_ = false;
  HttpResponseHeadParser headParser_;
  std::shared_ptr<const HttpMessage> response_;
  std::optional<HttpBodyDecoder> decoder_;
  std::string buffer_;
  std::size_t bufferOffset_ = 0;
  bool readingPaused_ = false;
  bool bodyComplete_ = false;
  ErrorPtr error_;

  // Reporting.
  unsigned eventMask_ = 0;
  Client client_;
  bool eventPosted_ = false;
  bool openCompletedDue_ = false;
  bool headDue_ = false;
  bool bytesDue_ = false;
  bool errorReported_ = false;
  bool endReported_ = false;
};

}  // namespace pf
