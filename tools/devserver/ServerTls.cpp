#include "tools/devserver/ServerTls.h"

#include <openssl/pem.h>
#include <openssl/ssl.h>

namespace devserver {

std::shared_ptr<ServerTls> ServerTls::make(const std::string& certificatePem,
                                           const std::string& privateKeyPem) {
  SSL_CTX* context = SSL_CTX_new(TLS_server_method());
  if (!context) return nullptr;
  std::shared_ptr<ServerTls> tls(new ServerTls(context));
  BIO* certBio = BIO_new_mem_buf(certificatePem.data(), static_cast<int>(certificatePem.size()));
  BIO* keyBio = BIO_new_mem_buf(privateKeyPem.data(), static_cast<int>(privateKeyPem.size()));
  X509* certificate = PEM_read_bio_X509(certBio, nullptr, nullptr, nullptr);
  EVP_PKEY* key = PEM_read_bio_PrivateKey(keyBio, nullptr, nullptr, nullptr);
  const bool ready = certificate && key && SSL_CTX_use_certificate(context, certificate) == 1 &&
                     SSL_CTX_use_PrivateKey(context, key) == 1 && SSL_CTX_check_private_key(context) == 1;
  X509_free(certificate);
  EVP_PKEY_free(key);
  BIO_free(certBio);
  BIO_free(keyBio);
  return ready ? tls : nullptr;
}

ServerTls::~ServerTls() {
  SSL_CTX_free(static_cast<SSL_CTX*>(context_));
}

}  // namespace devserver
