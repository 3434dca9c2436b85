// Authentication challenges and the exchange they start: the challenge fields of a 401/407 answer
// (Basic, Digest, NTLM with its base64 CHALLENGE message), the strongest one picked, credentials applied,
// and a further challenge taken as the exchange goes on. Also the NTLM CHALLENGE message as raw bytes.
// Input: header fields, one "Name: value" a line; a line "--" starts the fields of the next answer.
// No header value made from them may carry a line break.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

#include "platform/net/HttpAuthentication.h"
#include "platform/net/NtlmMessage.h"

namespace {

using Fields = pf::HttpAuthChallenge::Fields;

void readFields(std::string_view text, Fields& first, Fields& next) {
  Fields* into = &first;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line == "--") {
      into = &next;
      continue;
    }
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    std::string_view value = line.substr(colon + 1);
    if (value.starts_with(' ')) value.remove_prefix(1);
    into->emplace_back(std::string(line.substr(0, colon)), std::string(value));
  }
}

void readChallenges(const Fields& fields) {
  for (const auto& [name, value] : fields) {
    if (auto challenges = pf::HttpAuthChallenge::parseField(value)) {
      for (const pf::HttpAuthChallenge& challenge : *challenges) {
        for (const char* parameter : {"realm", "nonce", "qop", "algorithm", "opaque", "stale"})
          (void)challenge.parameter(parameter);
      }
    }
  }
}

void apply(pf::HttpAuthentication& authentication) {
  const pf::HttpAuthentication::Credentials credentials{"ann", "secret", "ACME"};
  const std::optional<std::string> value = authentication.applyCredentials(credentials, "GET", "/a?b=c");
  if (value && value->find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
    std::fprintf(stderr, "%s value with a line break: %s\n", authentication.headerName().c_str(), value->c_str());
    std::abort();
  }
  (void)authentication.isValid();
}

pf::HttpAuthentication::Sources fixedSources() {
  pf::HttpAuthentication::Sources sources;
  sources.digestClientNonce = [] { return std::optional<std::string>("0a4f113b"); };
  sources.ntlmClientChallenge = [] { return std::optional<std::array<std::uint8_t, 8>>(std::array<std::uint8_t, 8>{1, 2, 3, 4, 5, 6, 7, 8}); };
  sources.ntlmFileTime = [] { return std::uint64_t{132000000000000000}; };
  return sources;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  (void)pf::NtlmMessage::parseChallenge(std::span<const std::uint8_t>(bytes, size));

  Fields first, next;
  readFields(std::string_view(reinterpret_cast<const char*>(bytes), size), first, next);
  readChallenges(first);
  (void)pf::HttpAuthChallenge::parseFields(first, "WWW-Authenticate");

  const bool proxy = !first.empty() && pf::HttpAuthChallenge::parseFields(first, "Proxy-Authenticate").size() > 0;
  auto authentication = pf::HttpAuthentication::fromResponse(proxy ? 407 : 401, first, fixedSources());
  if (!authentication) return 0;
  (void)authentication->method();
  (void)authentication->realm();
  apply(*authentication);
  authentication->update(next);
  apply(*authentication);
  // NTLM answers the challenge on the attempt after it.
  apply(*authentication);
  return 0;
}
