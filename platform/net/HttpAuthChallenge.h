#pragma once
// One authentication challenge of a "WWW-Authenticate" or "Proxy-Authenticate" field (RFC 7235): a scheme
// followed by either a token68 (NTLM's base64 message) or comma-separated name=value parameters whose
// values are tokens or quoted strings. One field may hold several challenges, and a response may carry
// several fields.
// The fields come from whoever answered, so parsing is strict and bounded: a value over the limits, a
// control character (CR, LF, NUL...) anywhere, an unterminated quoted string or a repeated parameter
// makes the whole field unreadable instead of half-read. Immutable; safe to share across threads.

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pf {

class HttpAuthChallenge {
 public:
  // Header fields as received: name, value; names compare without regard to case.
  using Fields = std::vector<std::pair<std::string, std::string>>;

  static constexpr std::size_t kMaxFieldLength = 16384;
  static constexpr std::size_t kMaxFieldsRead = 16;
  static constexpr std::size_t kMaxChallengesPerField = 16;
  static constexpr std::size_t kMaxParameters = 32;

  // The challenges of one field value, in order; nullopt when it is malformed or over the limits.
  static std::optional<std::vector<HttpAuthChallenge>> parseField(std::string_view value);
  // The challenges of every field with that name; unreadable fields are skipped, the others kept.
  static std::vector<HttpAuthChallenge> parseFields(const Fields& fields, std::string_view fieldName);

  // As written; compare with isScheme, schemes ignore case.
  const std::string& scheme() const { return scheme_; }
  bool isScheme(std::string_view name) const;
  const std::optional<std::string>& token68() const { return token68_; }
  // Quoted strings come unescaped; the name ignores case.
  std::optional<std::string> parameter(std::string_view name) const;

 private:
  friend class ChallengeReader;

  std::string scheme_;
  std::optional<std::string> token68_;
  std::map<std::string, std::string> parameters_;  // by lower-case name
};

}  // namespace pf
