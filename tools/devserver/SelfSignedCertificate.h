#pragma once
// A throw-away certificate made at run time (P-256 key, signed by itself) so that no key is ever kept
// in the source tree. It names the host in its subject and as a DNS name, and 127.0.0.1 as an address.

#include <string>

namespace devserver {

struct SelfSignedCertificate {
  std::string certificatePem;
  std::string privateKeyPem;

  // Valid from validFrom to validUntil, in seconds from now (negative: in the past). Throws
  // std::runtime_error when OpenSSL fails.
  static SelfSignedCertificate make(const std::string& host, long validFrom = -3600, long validUntil = 86400);
};

}  // namespace devserver
