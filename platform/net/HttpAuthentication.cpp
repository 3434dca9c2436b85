#include "platform/net/HttpAuthentication.h"

#include <openssl/rand.h>

#include <algorithm>
#include <chrono>

#include "platform/foundation/Base64.h"
#include "platform/foundation/Md5.h"
#include "platform/foundation/TextHelpers.h"
#include "platform/foundation/Utf16.h"
#include "platform/net/NtlmV2Response.h"

namespace pf {
namespace {

constexpr int kBasicRank = 10;
constexpr int kDigestRank = 20;
constexpr int kNtlmRank = 30;
// Seconds from 1601-01-01 to 1970-01-01.
constexpr std::uint64_t kFileTimeEpochOffset = 11644473600ull;

template <std::size_t N>
std::optional<std::array<std::uint8_t, N>> randomBytes() {
  std::array<std::uint8_t, N> bytes;
  if (RAND_bytes(bytes.data(), int(N)) != 1) return std::nullopt;
  return bytes;
}

std::optional<std::string> randomClientNonce() {
  auto bytes = randomBytes<16>();
  if (!bytes) return std::nullopt;
  return md5::hex(*bytes);  // plain hexadecimal of the 16 bytes
}

std::uint64_t fileTimeNow() {
  auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
  auto ticks =
      std::chrono::duration_cast<std::chrono::duration<std::int64_t, std::ratio<1, 10000000>>>(sinceEpoch);
  return std::uint64_t(ticks.count()) + kFileTimeEpochOffset * 10000000ull;
}

HttpAuthentication::Sources withDefaults(HttpAuthentication::Sources sources) {
  if (!sources.digestClientNonce) sources.digestClientNonce = randomClientNonce;
  if (!sources.ntlmClientChallenge) sources.ntlmClientChallenge = randomBytes<8>;
  if (!sources.ntlmFileTime) sources.ntlmFileTime = fileTimeNow;
  return sources;
}

bool hasControlCharacter(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7f;
  });
}

// Servers sometimes leave the base64 padding off.
std::optional<std::vector<std::uint8_t>> decodeToken(std::string token) {
  while (token.size() % 4 != 0) token.push_back('=');
  return base64::decode(token);
}

}  // namespace

HttpAuthentication::HttpAuthentication(bool proxy, Sources sources)
    : proxy_(proxy), sources_(withDefaults(std::move(sources))) {}

std::shared_ptr<HttpAuthentication> HttpAuthentication::fromResponse(int statusCode,
                                                                     const HttpAuthChallenge::Fields& fields,
                                                                     Sources sources) {
  if (statusCode != 401 && statusCode != 407) return nullptr;
  bool proxy = statusCode == 407;
  auto candidate =
      strongest(HttpAuthChallenge::parseFields(fields, proxy ? "Proxy-Authenticate" : "WWW-Authenticate"));
  if (!candidate) return nullptr;
  std::shared_ptr<HttpAuthentication> authentication(new HttpAuthentication(proxy, std::move(sources)));
  authentication->adopt(std::move(*candidate));
  return authentication;
}

std::optional<HttpAuthentication::Candidate> HttpAuthentication::candidateFor(
    const HttpAuthChallenge& challenge) {
  Candidate candidate;
  if (challenge.isScheme(kNtlm)) {
    candidate.scheme = Scheme::Ntlm;
    candidate.rank = kNtlmRank;
    if (challenge.token68()) {
      auto message = decodeToken(*challenge.token68());
      if (!message) return std::nullopt;
      candidate.ntlmChallenge = NtlmMessage::parseChallenge(*message);
      if (!candidate.ntlmChallenge) return std::nullopt;
    }
  } else if (challenge.isScheme(kDigest)) {
    candidate.digest = DigestAuthorizer::fromChallenge(challenge);
    if (!candidate.digest) return std::nullopt;
    candidate.scheme = Scheme::Digest;
    candidate.rank = kDigestRank + candidate.digest->strength();
    candidate.realm = candidate.digest->realm();
  } else if (challenge.isScheme(kBasic)) {
    candidate.scheme = Scheme::Basic;
    candidate.rank = kBasicRank;
    candidate.realm = challenge.parameter("realm");
  } else {
    return std::nullopt;
  }
  return candidate;
}

std::optional<HttpAuthentication::Candidate> HttpAuthentication::strongest(
    const std::vector<HttpAuthChallenge>& challenges) {
  std::optional<Candidate> best;
  for (const HttpAuthChallenge& challenge : challenges) {
    auto candidate = candidateFor(challenge);
    if (candidate && (!best || candidate->rank > best->rank)) best = std::move(candidate);
  }
  return best;
}

void HttpAuthentication::adopt(Candidate candidate) {
  scheme_ = candidate.scheme;
  realm_ = std::move(candidate.realm);
  digest_ = std::move(candidate.digest);
  ntlmChallenge_ = std::move(candidate.ntlmChallenge);
  ntlmStep_ = ntlmChallenge_ ? NtlmStep::Respond : NtlmStep::Negotiate;
  answered_ = false;
}

std::string HttpAuthentication::headerName() const {
  return proxy_ ? "Proxy-Authorization" : "Authorization";
}

std::string HttpAuthentication::method() const {
  std::lock_guard lock(mutex_);
  switch (scheme_) {
    case Scheme::Basic:
      return kBasic;
    case Scheme::Digest:
      return kDigest;
    case Scheme::Ntlm:
      return kNtlm;
  }
  return kBasic;
}

std::optional<std::string> HttpAuthentication::realm() const {
  std::lock_guard lock(mutex_);
  return realm_;
}

bool HttpAuthentication::requiresAccountDomain() const {
  std::lock_guard lock(mutex_);
  return scheme_ == Scheme::Ntlm;
}

bool HttpAuthentication::isValid(ErrorPtr* error) const {
  std::lock_guard lock(mutex_);
  if (error) *error = error_;
  return !error_;
}

void HttpAuthentication::fail(long code, const std::string& description) {
  error_ = Error::make(kErrorDomain, code, description);
}

void HttpAuthentication::update(const HttpAuthChallenge::Fields& fields) {
  std::lock_guard lock(mutex_);
  if (error_) return;
  auto challenges =
      HttpAuthChallenge::parseFields(fields, proxy_ ? "Proxy-Authenticate" : "WWW-Authenticate");
  if (!answered_) {
    // Nothing was sent for the last challenge; this one simply replaces it.
    auto candidate = strongest(challenges);
    if (candidate) return adopt(std::move(*candidate));
    return fail(kTypeUnsupported, "No supported authentication challenge");
  }
  for (const HttpAuthChallenge& challenge : challenges) {
    if (continues(challenge)) return;
  }
  fail(answeredUser_.empty() ? kBadUserName : kBadPassword, "Bad user name or password");
}

// Whether the challenge carries the exchange on rather than refusing what was sent.
bool HttpAuthentication::continues(const HttpAuthChallenge& challenge) {
  if (scheme_ == Scheme::Digest && challenge.isScheme(kDigest)) {
    if (text::lowercase(challenge.parameter("stale").value_or("")) != "true") return false;
    auto digest = DigestAuthorizer::fromChallenge(challenge);
    if (!digest || digest->algorithm() != digest_->algorithm()) return false;
    digest_ = std::move(digest);
    realm_ = digest_->realm();
    answered_ = false;
    return true;
  }
  if (scheme_ == Scheme::Ntlm && challenge.isScheme(kNtlm) && challenge.token68() &&
      ntlmStep_ == NtlmStep::AwaitingChallenge) {
    auto message = decodeToken(*challenge.token68());
    if (message) ntlmChallenge_ = NtlmMessage::parseChallenge(*message);
    if (!message || !ntlmChallenge_) {
      fail(kParseFailure, "Unreadable NTLM challenge");
      return true;
    }
    ntlmStep_ = NtlmStep::Respond;
    answered_ = false;
    return true;
  }
  return false;
}

std::optional<std::string> HttpAuthentication::applyCredentials(const Credentials& credentials,
                                                                std::string_view method,
                                                                std::string_view requestUri) {
  std::lock_guard lock(mutex_);
  if (error_) return std::nullopt;
  std::optional<std::string> value;
  switch (scheme_) {
    case Scheme::Basic:
      value = basicValue(credentials);
      break;
    case Scheme::Digest:
      value = digestValue(credentials, method, requestUri);
      break;
    case Scheme::Ntlm:
      value = ntlmValue(credentials);
      break;
  }
  if (value) {
    answered_ = true;
    answeredUser_ = credentials.username;
  }
  return value;
}

std::optional<std::string> HttpAuthentication::basicValue(const Credentials& credentials) const {
  // A colon in the user name would move the split point the server reads.
  if (credentials.username.find(':') != std::string::npos || hasControlCharacter(credentials.username) ||
      hasControlCharacter(credentials.password)) {
    return std::nullopt;
  }
  return "Basic " + base64::encode(credentials.username + ":" + credentials.password);
}

std::optional<std::string> HttpAuthentication::digestValue(const Credentials& credentials,
                                                           std::string_view method,
                                                           std::string_view requestUri) {
  auto clientNonce = sources_.digestClientNonce();
  if (!clientNonce) return std::nullopt;
  return digest_->authorization(credentials.username, credentials.password, method, requestUri, *clientNonce);
}

std::optional<std::string> HttpAuthentication::ntlmValue(const Credentials& credentials) {
  if (ntlmStep_ == NtlmStep::Respond) {
    auto value = ntlmAuthenticateValue(credentials);
    // A challenge answers once; a later attempt starts the handshake again.
    if (value) ntlmStep_ = NtlmStep::Negotiate;
    return value;
  }
  ntlmStep_ = NtlmStep::AwaitingChallenge;
  return "NTLM " + base64::encode(NtlmMessage::negotiate());
}

std::optional<std::string> HttpAuthentication::ntlmAuthenticateValue(const Credentials& credentials) {
  auto clientChallenge = sources_.ntlmClientChallenge();
  if (!clientChallenge) return std::nullopt;
  const NtlmMessage::Challenge& challenge = *ntlmChallenge_;
  auto key =
      NtlmV2Response::responseKey(credentials.username, credentials.password, credentials.accountDomain);
  auto blob = NtlmV2Response::blob(challenge.timestamp.value_or(sources_.ntlmFileTime()), *clientChallenge,
                                   challenge.targetInfo);

  NtlmMessage::Authenticate fields;
  fields.flags = (challenge.flags & NtlmMessage::kClientFlags) | NtlmMessage::kNegotiateUnicode;
  fields.ntResponse = NtlmV2Response::ntResponse(key, challenge.serverChallenge, blob);
  // With a server timestamp the LMv2 response is left empty (zeros), as current servers expect.
  fields.lmResponse = challenge.timestamp
                          ? NtlmMessage::Bytes(24, 0)
                          : NtlmV2Response::lmResponse(key, challenge.serverChallenge, *clientChallenge);
  fields.domain = utf16::encode(credentials.accountDomain);
  fields.user = utf16::encode(credentials.username);
  auto message = NtlmMessage::authenticate(fields);
  if (!message) return std::nullopt;
  return "NTLM " + base64::encode(*message);
}

}  // namespace pf
