#pragma once
// The answers to one Digest challenge (RFC 7616, and RFC 2617 before it): MD5, MD5-sess, SHA-256 and
// SHA-256-sess, with qop "auth" or, for old servers that offer no qop, the plain RFC 2069 response.
// Every answer counts up the nonce count, so a nonce reused by later requests is never replayed with
// the same count. "auth-int" alone is not offered (the body is not at hand here): such a challenge is
// not taken. Not synchronised: its owner serialises calls.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/net/HttpAuthChallenge.h"

namespace pf {

class DigestAuthorizer {
 public:
  enum class Algorithm { Md5, Md5Session, Sha256, Sha256Session };

  // nullopt when the challenge lacks a realm or a nonce, or asks for something not supported here.
  static std::optional<DigestAuthorizer> fromChallenge(const HttpAuthChallenge& challenge);

  const std::string& realm() const { return realm_; }
  Algorithm algorithm() const { return algorithm_; }
  // Larger is stronger: SHA-256 over MD5.
  int strength() const;

  // The "Authorization" value for one request; nullopt when the user name holds a control character.
  // requestUri is the request target as sent ("/dir/index.html?x=1").
  std::optional<std::string> authorization(std::string_view user, std::string_view password,
                                           std::string_view method, std::string_view requestUri,
                                           std::string_view clientNonce);

 private:
  DigestAuthorizer() = default;
  std::string hash(std::string_view text) const;
  bool isSession() const;

  std::string realm_;
  std::string nonce_;
  std::optional<std::string> opaque_;
  std::optional<std::string> algorithmName_;  // echoed as the server wrote it
  Algorithm algorithm_ = Algorithm::Md5;
  bool qopAuth_ = false;
  bool userhash_ = false;
  std::uint32_t nonceCount_ = 0;
};

}  // namespace pf
