#include "platform/net/TlsChannel.h"

#include <arpa/inet.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <sys/socket.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <mutex>

#include "platform/net/StreamError.h"

namespace pf {
namespace {

using ContextPtr = std::shared_ptr<SSL_CTX>;

struct SslFree {
  void operator()(SSL* ssl) const { SSL_free(ssl); }
};

int settingsIndex() {
  static const int index = SSL_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
  return index;
}

bool isDateError(int error) {
  return error == X509_V_ERR_CERT_HAS_EXPIRED || error == X509_V_ERR_CERT_NOT_YET_VALID;
}

bool isRootError(int error) {
  return error == X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT || error == X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN ||
         error == X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY ||
         error == X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT || error == X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE;
}

bool isIpLiteral(const std::string& host) {
  unsigned char address[16];
  return inet_pton(AF_INET, host.c_str(), address) == 1 || inet_pton(AF_INET6, host.c_str(), address) == 1;
}

// Lets through what the settings allow; a wrong host name is never let through.
int verifyCallback(int preverified, X509_STORE_CTX* store) {
  if (preverified) return 1;
  auto* ssl = static_cast<SSL*>(X509_STORE_CTX_get_ex_data(store, SSL_get_ex_data_X509_STORE_CTX_idx()));
  const auto* settings = static_cast<const TlsSettings*>(SSL_get_ex_data(ssl, settingsIndex()));
  const int error = X509_STORE_CTX_get_error(store);
  if (error == X509_V_ERR_HOSTNAME_MISMATCH || error == X509_V_ERR_IP_ADDRESS_MISMATCH) return 0;
  if (!settings->validatesCertificateChain) return 1;
  if (settings->allowsExpiredCertificates && isDateError(error)) return 1;
  if (settings->allowsAnyRoot && isRootError(error)) return 1;
  return 0;
}

std::string lastSslError() {
  const unsigned long code = ERR_get_error();
  if (code == 0) return "TLS failure";
  char text[256];
  ERR_error_string_n(code, text, sizeof text);
  return text;
}

ContextPtr makeContext() {
  SSL_CTX* raw = SSL_CTX_new(TLS_client_method());
  if (!raw) return nullptr;
  ContextPtr context(raw, SSL_CTX_free);
  SSL_CTX_set_min_proto_version(raw, TLS1_2_VERSION);
  SSL_CTX_set_default_verify_paths(raw);
  SSL_CTX_set_mode(raw, SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
  // A server that drops the connection without a TLS goodbye ends the body like a plain close does;
  // framing still tells a cut-off body from a whole one.
  SSL_CTX_set_options(raw, SSL_OP_IGNORE_UNEXPECTED_EOF);
  return context;
}

ContextPtr defaultContext() {
  static const ContextPtr context = makeContext();
  return context;
}

ContextPtr contextWithAnchors(const std::string& pem, ErrorPtr& error) {
  ContextPtr context = makeContext();
  if (!context) return nullptr;
  std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())),
                                                BIO_free);
  X509_STORE* store = SSL_CTX_get_cert_store(context.get());
  int added = 0;
  while (X509* certificate = PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr)) {
    if (X509_STORE_add_cert(store, certificate) == 1) ++added;
    X509_free(certificate);
  }
  ERR_clear_error();
  if (added == 0) {
    error = StreamError::tls(StreamError::kTlsProtocol, "no usable anchor certificate");
    return nullptr;
  }
  return context;
}

long verifyErrorCode(long verifyResult) {
  if (isDateError(static_cast<int>(verifyResult))) return StreamError::kTlsCertificateExpired;
  switch (verifyResult) {
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
      return StreamError::kTlsUnknownRoot;
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
    case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
      return StreamError::kTlsNoRoot;
    default:
      return StreamError::kTlsCertificateInvalid;
  }
}

}  // namespace

struct TlsChannel::Impl {
  ContextPtr context;
  std::unique_ptr<SSL, SslFree> ssl;
  TlsSettings settings;
  int fd = -1;
};

TlsChannel::TlsChannel(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

TlsChannel::~TlsChannel() = default;

std::unique_ptr<TlsChannel> TlsChannel::make(int fd, const TlsSettings& settings, const std::string& host,
                                             ErrorPtr& error) {
  // Writes to a socket the server has closed come back as EPIPE instead of ending the process.
  static std::once_flag ignorePipeSignals;
  std::call_once(ignorePipeSignals, [] { std::signal(SIGPIPE, SIG_IGN); });

  auto impl = std::make_unique<Impl>();
  impl->settings = settings;
  impl->fd = fd;
  impl->context = settings.anchorCertificatesPem.empty()
                      ? defaultContext()
                      : contextWithAnchors(settings.anchorCertificatesPem, error);
  if (impl->context) impl->ssl.reset(SSL_new(impl->context.get()));
  if (!impl->ssl || SSL_set_fd(impl->ssl.get(), fd) != 1) {
    if (!error) error = StreamError::tls(StreamError::kTlsProtocol, "cannot set up TLS: " + lastSslError());
    return nullptr;
  }
  SSL* ssl = impl->ssl.get();
  SSL_set_connect_state(ssl);
  SSL_set_ex_data(ssl, settingsIndex(), &impl->settings);
  SSL_set_verify(ssl, SSL_VERIFY_PEER, verifyCallback);
  // A name that cannot be set would leave only the chain checked: any valid certificate would pass.
  if (!host.empty() && !isIpLiteral(host) && SSL_set_tlsext_host_name(ssl, host.c_str()) != 1) {
    error = StreamError::tls(StreamError::kTlsProtocol, "cannot name the server for TLS: " + lastSslError());
    return nullptr;
  }
  const std::string name = settings.peerName.value_or(host);
  if (!name.empty()) {
    X509_VERIFY_PARAM* param = SSL_get0_param(ssl);
    bool named;
    if (isIpLiteral(name)) {
      named = X509_VERIFY_PARAM_set1_ip_asc(param, name.c_str()) == 1;
    } else {
      X509_VERIFY_PARAM_set_hostflags(param, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
      named = X509_VERIFY_PARAM_set1_host(param, name.c_str(), name.size()) == 1;
    }
    if (!named) {
      error = StreamError::tls(StreamError::kTlsProtocol,
                               "cannot check the certificate against the server's name: " + lastSslError());
      return nullptr;
    }
  }
  return std::unique_ptr<TlsChannel>(new TlsChannel(std::move(impl)));
}

IoResult TlsChannel::handshake() {
  ERR_clear_error();
  errno = 0;
  const int result = SSL_do_handshake(impl_->ssl.get());
  return result == 1 ? IoResult::done() : failure(result, true, errno);
}

IoResult TlsChannel::read(std::uint8_t* buffer, std::size_t length) {
  ERR_clear_error();
  errno = 0;
  std::size_t count = 0;
  const int result = SSL_read_ex(impl_->ssl.get(), buffer, length, &count);
  return result == 1 ? IoResult::done(count) : failure(result, false, errno);
}

IoResult TlsChannel::write(const std::uint8_t* buffer, std::size_t length) {
  ERR_clear_error();
  errno = 0;
  std::size_t count = 0;
  const int result = SSL_write_ex(impl_->ssl.get(), buffer, length, &count);
  if (result == 1) return IoResult::done(count);
  IoResult outcome = failure(result, false, errno);
  if (outcome.status == IoResult::Status::Closed) {
    return IoResult::failed(StreamError::posix(EPIPE, "the server closed the connection"));
  }
  return outcome;
}

bool TlsChannel::hasBufferedData() const {
  return SSL_has_pending(impl_->ssl.get()) == 1;
}

bool TlsChannel::isIdleAndOpen() {
  char byte;
  const ssize_t waiting = recv(impl_->fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
  if (waiting == 0) return false;
  if (waiting < 0) return errno == EAGAIN || errno == EWOULDBLOCK;
  // Records have arrived: fine if they were only housekeeping (session tickets), not data or a close.
  ERR_clear_error();
  std::size_t count = 0;
  const int result = SSL_peek_ex(impl_->ssl.get(), &byte, 1, &count);
  return result != 1 && SSL_get_error(impl_->ssl.get(), result) == SSL_ERROR_WANT_READ;
}

IoResult TlsChannel::failure(int sslResult, bool handshaking, int systemErrno) {
  const int error = SSL_get_error(impl_->ssl.get(), sslResult);
  switch (error) {
    case SSL_ERROR_WANT_READ:
      return IoResult::wouldBlock(false);
    case SSL_ERROR_WANT_WRITE:
      return IoResult::wouldBlock(true);
    case SSL_ERROR_ZERO_RETURN:
      if (!handshaking) return IoResult::closed();
      return IoResult::failed(StreamError::tls(StreamError::kTlsClosedAbort,
                                               "the server closed the connection during the TLS handshake"));
    case SSL_ERROR_SYSCALL:
      if (systemErrno != 0)
        return IoResult::failed(StreamError::posix(systemErrno, std::strerror(systemErrno)));
      if (!handshaking) return IoResult::closed();
      return IoResult::failed(StreamError::tls(StreamError::kTlsClosedAbort,
                                               "the server closed the connection during the TLS handshake"));
    default:
      break;
  }
  const long verifyResult = SSL_get_verify_result(impl_->ssl.get());
  if (handshaking && verifyResult != X509_V_OK) {
    return IoResult::failed(StreamError::tls(
        verifyErrorCode(verifyResult),
        std::string("TLS certificate rejected: ") + X509_verify_cert_error_string(verifyResult)));
  }
  return IoResult::failed(StreamError::tls(StreamError::kTlsProtocol, "TLS failure: " + lastSslError()));
}

}  // namespace pf
