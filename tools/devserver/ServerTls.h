#pragma once
// The server side of TLS: a certificate and its private key, ready to accept connections.

#include <memory>
#include <string>

namespace devserver {

class ServerTls {
 public:
  // nullptr when the PEM texts are not a certificate and its matching key.
  static std::shared_ptr<ServerTls> make(const std::string& certificatePem, const std::string& privateKeyPem);
  ~ServerTls();
  ServerTls(const ServerTls&) = delete;
  ServerTls& operator=(const ServerTls&) = delete;

  // The OpenSSL context, typed loosely to keep OpenSSL out of this header.
  void* context() const { return context_; }

 private:
  explicit ServerTls(void* context) : context_(context) {}
  void* context_;
};

}  // namespace devserver
