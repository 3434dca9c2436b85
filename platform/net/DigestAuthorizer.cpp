#include "platform/net/DigestAuthorizer.h"

#include <openssl/evp.h>

#include <algorithm>
#include <cstdio>

#include "platform/foundation/Error.h"
#include "platform/foundation/Md5.h"
#include "platform/foundation/TextHelpers.h"

namespace pf {
namespace {

std::optional<DigestAuthorizer::Algorithm> algorithmNamed(std::string_view name) {
  using Algorithm = DigestAuthorizer::Algorithm;
  std::string lower = text::lowercase(name);
  if (lower == "md5") return Algorithm::Md5;
  if (lower == "md5-sess") return Algorithm::Md5Session;
  if (lower == "sha-256") return Algorithm::Sha256;
  if (lower == "sha-256-sess") return Algorithm::Sha256Session;
  return std::nullopt;
}

// The qop parameter is a comma-separated list; is "auth" among its entries?
bool offersAuth(std::string_view qop) {
  for (const std::string& entry : text::split(qop, ",")) {
    if (text::lowercase(text::trimWhitespace(entry)) == "auth") return true;
  }
  return false;
}

std::string sha256Hex(std::string_view text) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (!EVP_Digest(text.data(), text.size(), digest, &length, EVP_sha256(), nullptr)) {
    throw ContractViolation("SHA-256 is not available from OpenSSL");
  }
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned int i = 0; i < length; ++i) {
    hex.push_back(kDigits[digest[i] >> 4]);
    hex.push_back(kDigits[digest[i] & 0xf]);
  }
  return hex;
}

std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out.push_back('\\');
    out.push_back(c);
  }
  out.push_back('"');
  return out;
}

bool hasDigestControlCharacter(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7f;
  });
}

}  // namespace

std::optional<DigestAuthorizer> DigestAuthorizer::fromChallenge(const HttpAuthChallenge& challenge) {
  if (!challenge.isScheme("Digest")) return std::nullopt;
  auto realm = challenge.parameter("realm");
  auto nonce = challenge.parameter("nonce");
  if (!realm || !nonce) return std::nullopt;

  DigestAuthorizer authorizer;
  authorizer.realm_ = std::move(*realm);
  authorizer.nonce_ = std::move(*nonce);
  authorizer.opaque_ = challenge.parameter("opaque");
  authorizer.algorithmName_ = challenge.parameter("algorithm");
  if (authorizer.algorithmName_) {
    auto algorithm = algorithmNamed(*authorizer.algorithmName_);
    if (!algorithm) return std::nullopt;
    authorizer.algorithm_ = *algorithm;
  }
  if (auto qop = challenge.parameter("qop")) {
    if (!offersAuth(*qop)) return std::nullopt;
    authorizer.qopAuth_ = true;
  } else if (authorizer.isSession()) {
    return std::nullopt;  // the session variants need the client nonce that only qop carries
  }
  authorizer.userhash_ = text::lowercase(challenge.parameter("userhash").value_or("")) == "true";
  return authorizer;
}

int DigestAuthorizer::strength() const {
  return algorithm_ == Algorithm::Sha256 || algorithm_ == Algorithm::Sha256Session ? 2 : 1;
}

bool DigestAuthorizer::isSession() const {
  return algorithm_ == Algorithm::Md5Session || algorithm_ == Algorithm::Sha256Session;
}

std::string DigestAuthorizer::hash(std::string_view text) const {
  if (algorithm_ == Algorithm::Md5 || algorithm_ == Algorithm::Md5Session) return md5::hex(text);
  return sha256Hex(text);
}

std::optional<std::string> DigestAuthorizer::authorization(std::string_view user, std::string_view password,
                                                           std::string_view method,
                                                           std::string_view requestUri,
                                                           std::string_view clientNonce) {
  if (hasDigestControlCharacter(user) || hasDigestControlCharacter(method) || hasDigestControlCharacter(requestUri) ||
      hasDigestControlCharacter(clientNonce)) {
    return std::nullopt;
  }
  ++nonceCount_;
  char nonceCount[9];
  std::snprintf(nonceCount, sizeof nonceCount, "%08x", nonceCount_);

  std::string userPart = std::string(user) + ":" + realm_ + ":";
  std::string ha1 = hash(userPart + std::string(password));
  if (isSession()) ha1 = hash(ha1 + ":" + nonce_ + ":" + std::string(clientNonce));
  std::string ha2 = hash(std::string(method) + ":" + std::string(requestUri));
  std::string response =
      qopAuth_ ? hash(ha1 + ":" + nonce_ + ":" + nonceCount + ":" + std::string(clientNonce) + ":auth:" + ha2)
               : hash(ha1 + ":" + nonce_ + ":" + ha2);

  std::string username = userhash_ ? hash(std::string(user) + ":" + realm_) : std::string(user);
  std::string value = "Digest username=" + quoted(username) + ", realm=" + quoted(realm_) +
                      ", nonce=" + quoted(nonce_) + ", uri=" + quoted(requestUri);
  if (algorithmName_) value += ", algorithm=" + *algorithmName_;
  if (qopAuth_) {
    value += ", qop=auth, nc=" + std::string(nonceCount) + ", cnonce=" + quoted(clientNonce);
  }
  value += ", response=" + quoted(response);
  if (opaque_) value += ", opaque=" + quoted(*opaque_);
  if (userhash_) value += ", userhash=true";
  return value;
}

}  // namespace pf
