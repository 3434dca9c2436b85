#pragma once
// The NTLMv2 computations of an AUTHENTICATE message: the response key NTOWFv2 =
// HMAC-MD5(MD4(UTF-16LE password), UTF-16LE(upper-case user + domain)), the blob the server's target
// information travels in, the NT response (NTProofStr followed by the blob) and the LMv2 response.
// Stateless; safe on any thread.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pf {

class NtlmV2Response {
 public:
  using Key = std::array<std::uint8_t, 16>;
  using Bytes = std::vector<std::uint8_t>;

  // The text arguments are UTF-8.
  static Key responseKey(std::string_view user, std::string_view password, std::string_view domain);
  // The user name upper-cased as NTOWFv2 wants it, in UTF-16 (Unicode case mapping of the
  // basic plane; other characters stay as they are).
  static std::u16string upperCase(std::string_view text);

  // fileTime counts 100 ns ticks since 1601-01-01 UTC.
  static Bytes blob(std::uint64_t fileTime, std::span<const std::uint8_t, 8> clientChallenge,
                    std::span<const std::uint8_t> targetInfo);
  // NTProofStr followed by the blob.
  static Bytes ntResponse(const Key& key, std::span<const std::uint8_t, 8> serverChallenge,
                          std::span<const std::uint8_t> blob);
  // HMAC of both challenges followed by the client challenge, 24 bytes.
  static Bytes lmResponse(const Key& key, std::span<const std::uint8_t, 8> serverChallenge,
                          std::span<const std::uint8_t, 8> clientChallenge);
};

}  // namespace pf
