#include "tools/devserver/SelfSignedCertificate.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <memory>
#include <stdexcept>

namespace devserver {
namespace {

template <typename T, void (*Free)(T*)>
using Owned = std::unique_ptr<T, std::integral_constant<decltype(Free), Free>>;

void require(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(std::string("cannot make the test certificate: ") + what);
}

std::string pemOf(int (*write)(BIO*, void*), void* object) {
  Owned<BIO, BIO_free_all> bio(BIO_new(BIO_s_mem()));
  require(bio && write(bio.get(), object) == 1, "PEM");
  char* data = nullptr;
  const long length = BIO_get_mem_data(bio.get(), &data);
  return std::string(data, static_cast<std::size_t>(length));
}

}  // namespace

SelfSignedCertificate SelfSignedCertificate::make(const std::string& host, long validFrom, long validUntil) {
  Owned<EVP_PKEY, EVP_PKEY_free> key(EVP_EC_gen("P-256"));
  require(key != nullptr, "key");
  Owned<X509, X509_free> certificate(X509_new());
  require(certificate != nullptr, "certificate");
  X509* cert = certificate.get();
  X509_set_version(cert, 2);
  ASN1_INTEGER_set(X509_get_serialNumber(cert), 1);
  X509_gmtime_adj(X509_getm_notBefore(cert), validFrom);
  X509_gmtime_adj(X509_getm_notAfter(cert), validUntil);
  X509_set_pubkey(cert, key.get());
  X509_NAME* name = X509_get_subject_name(cert);
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>(host.c_str()),
                             -1, -1, 0);
  X509_set_issuer_name(cert, name);
  X509V3_CTX context;
  X509V3_set_ctx_nodb(&context);
  X509V3_set_ctx(&context, cert, cert, nullptr, nullptr, 0);
  const std::string alternatives = "DNS:" + host + ",IP:127.0.0.1";
  Owned<X509_EXTENSION, X509_EXTENSION_free> extension(
      X509V3_EXT_conf_nid(nullptr, &context, NID_subject_alt_name, alternatives.c_str()));
  require(extension && X509_add_ext(cert, extension.get(), -1) == 1, "names");
  require(X509_sign(cert, key.get(), EVP_sha256()) > 0, "signature");

  SelfSignedCertificate made;
  made.certificatePem =
      pemOf([](BIO* bio, void* x) { return PEM_write_bio_X509(bio, static_cast<X509*>(x)); }, cert);
  made.privateKeyPem = pemOf(
      [](BIO* bio, void* k) {
        return PEM_write_bio_PrivateKey(bio, static_cast<EVP_PKEY*>(k), nullptr, nullptr, 0, nullptr,
                                        nullptr);
      },
      key.get());
  return made;
}

}  // namespace devserver
