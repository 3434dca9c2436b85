#pragma once
// The three NTLM messages as they travel in HTTP headers (before base64): the client's NEGOTIATE
// (type 1), the server's CHALLENGE (type 2) and the client's AUTHENTICATE (type 3), Unicode strings
// throughout. Only what an HTTP client needs: no signing, sealing or session key exchange is negotiated.
// The challenge comes from the network, so every length and offset in it is checked against the message
// and the message itself is bounded. Stateless; safe on any thread.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pf {

class NtlmMessage {
 public:
  using Bytes = std::vector<std::uint8_t>;

  static constexpr std::uint32_t kNegotiateUnicode = 0x00000001;
  static constexpr std::uint32_t kRequestTarget = 0x00000004;
  static constexpr std::uint32_t kNegotiateNtlm = 0x00000200;
  static constexpr std::uint32_t kNegotiateAlwaysSign = 0x00008000;
  static constexpr std::uint32_t kNegotiateExtendedSessionSecurity = 0x00080000;
  static constexpr std::uint32_t kNegotiateTargetInfo = 0x00800000;
  static constexpr std::uint32_t kNegotiate128 = 0x20000000;
  // What this client asks for and accepts.
  static constexpr std::uint32_t kClientFlags = kNegotiateUnicode | kRequestTarget | kNegotiateNtlm |
                                                kNegotiateAlwaysSign | kNegotiateExtendedSessionSecurity |
                                                kNegotiate128;

  static constexpr std::size_t kMaxChallengeLength = 8192;
  static constexpr std::size_t kMaxTargetInfoPairs = 64;

  struct Challenge {
    std::uint32_t flags = 0;
    std::array<std::uint8_t, 8> serverChallenge{};
    // The AV pairs as sent, echoed in the response blob.
    Bytes targetInfo;
    // The server's MsvAvTimestamp (100 ns ticks since 1601), when it sent one.
    std::optional<std::uint64_t> timestamp;
  };

  struct Authenticate {
    std::uint32_t flags = 0;
    Bytes lmResponse;
    Bytes ntResponse;
    std::u16string domain;
    std::u16string user;
    std::u16string workstation;
  };

  // Text as the messages carry it: UTF-16 units, little-endian.
  static Bytes unicode(std::u16string_view text);

  // The NEGOTIATE message: our flags, no domain and no workstation.
  static Bytes negotiate();
  // nullopt for anything that is not a well-formed CHALLENGE within the limits.
  static std::optional<Challenge> parseChallenge(std::span<const std::uint8_t> message);
  // nullopt when a field would not fit the message's 16-bit lengths.
  static std::optional<Bytes> authenticate(const Authenticate& fields);
};

}  // namespace pf
