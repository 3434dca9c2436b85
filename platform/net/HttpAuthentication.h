#pragma once
// The platform's HTTP authentication object: made from a 401 or 407 response, it picks the strongest
// challenge it can answer (NTLM, then Digest, then Basic), says what it needs (user name and password,
// an account domain for NTLM), and turns credentials into the "Authorization" or "Proxy-Authorization"
// value of each attempt.
//
// One object follows one exchange. After sending credentials, give it each further challenge response
// with update(): an NTLM challenge message carries the handshake on, a Digest challenge with stale=true
// takes the new nonce, and any other challenge of the same scheme means the credentials were refused.
// The object then reports itself invalid with kErrorDomain and kBadUserName (an empty user name was
// sent) or kBadPassword; an answer that cannot be read leaves it invalid with kParseFailure or
// kTypeUnsupported. Splitting "DOMAIN\user" is the caller's business.
//
// Thread-safe: requests sharing one object (a session store entry) may apply credentials from any thread.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Error.h"
#include "platform/net/DigestAuthorizer.h"
#include "platform/net/HttpAuthChallenge.h"
#include "platform/net/NtlmMessage.h"

namespace pf {

class HttpAuthentication {
 public:
  // The HTTP stream's error domain and codes, as code written for the original platform compares them.
  static constexpr char kErrorDomain[] = "kCFStreamErrorDomainHTTP";
  static constexpr long kParseFailure = -1;
  static constexpr long kTypeUnsupported = -1000;
  static constexpr long kBadUserName = -1001;
  static constexpr long kBadPassword = -1002;

  static constexpr char kBasic[] = "Basic";
  static constexpr char kDigest[] = "Digest";
  static constexpr char kNtlm[] = "NTLM";

  struct Credentials {
    std::string username;
    std::string password;
    std::string accountDomain;  // NTLM only; may be empty
  };

  // Where nonces and the clock come from. Empty members take the defaults (random bytes from OpenSSL,
  // the system clock); tests fix them to reproduce published examples. A source answering nullopt
  // makes applyCredentials fail.
  struct Sources {
    std::function<std::optional<std::string>()> digestClientNonce;
    std::function<std::optional<std::array<std::uint8_t, 8>>()> ntlmClientChallenge;
    // 100 ns ticks since 1601-01-01 UTC, used when the server sends no timestamp.
    std::function<std::uint64_t()> ntlmFileTime;
  };

  // From a 401 ("WWW-Authenticate") or 407 ("Proxy-Authenticate") response; nullptr for another
  // status or when no challenge is both readable and supported.
  static std::shared_ptr<HttpAuthentication> fromResponse(int statusCode,
                                                          const HttpAuthChallenge::Fields& fields,
                                                          Sources sources = {});

  HttpAuthentication(const HttpAuthentication&) = delete;
  HttpAuthentication& operator=(const HttpAuthentication&) = delete;

  bool isProxy() const { return proxy_; }
  // "Authorization" or "Proxy-Authorization".
  std::string headerName() const;
  // "Basic", "Digest" or "NTLM".
  std::string method() const;
  // The challenge's realm; none for NTLM.
  std::optional<std::string> realm() const;
  bool requiresUsernameAndPassword() const { return true; }
  bool requiresAccountDomain() const;

  bool isValid(ErrorPtr* error = nullptr) const;

  // The next challenge response of this exchange (401 or 407 again).
  void update(const HttpAuthChallenge::Fields& fields);

  // The header value for one attempt. requestUri is the request target as sent. nullopt when the object
  // is invalid or the credentials cannot be expressed (a control character, a colon in a Basic user name).
  std::optional<std::string> applyCredentials(const Credentials& credentials, std::string_view method,
                                              std::string_view requestUri);

 private:
  enum class Scheme { Basic, Digest, Ntlm };
  // NTLM: Negotiate sends the first message, AwaitingChallenge has sent it, Respond answers the received
  // challenge (once; the next attempt negotiates afresh, as a new connection must).
  enum class NtlmStep { Negotiate, AwaitingChallenge, Respond };

  // One supported challenge, ready to answer.
  struct Candidate {
    Scheme scheme = Scheme::Basic;
    int rank = 0;
    std::optional<std::string> realm;
    std::optional<DigestAuthorizer> digest;
    std::optional<NtlmMessage::Challenge> ntlmChallenge;
  };

  HttpAuthentication(bool proxy, Sources sources);

  static std::optional<Candidate> candidateFor(const HttpAuthChallenge& challenge);
  static std::optional<Candidate> strongest(const std::vector<HttpAuthChallenge>& challenges);
  void adopt(Candidate candidate);
  bool continues(const HttpAuthChallenge& challenge);
  void fail(long code, const std::string& description);

  std::optional<std::string> basicValue(const Credentials& credentials) const;
  std::optional<std::string> digestValue(const Credentials& credentials, std::string_view method,
                                         std::string_view requestUri);
  std::optional<std::string> ntlmValue(const Credentials& credentials);
  std::optional<std::string> ntlmAuthenticateValue(const Credentials& credentials);

  const bool proxy_;
  const Sources sources_;
  mutable std::mutex mutex_;
  Scheme scheme_ = Scheme::Basic;
  std::optional<std::string> realm_;
  std::optional<DigestAuthorizer> digest_;
  std::optional<NtlmMessage::Challenge> ntlmChallenge_;
  NtlmStep ntlmStep_ = NtlmStep::Negotiate;
  // An answer went out since the last challenge was taken; another challenge now means refusal.
  bool answered_ = false;
  std::string answeredUser_;
  ErrorPtr error_;
};

}  // namespace pf
