#include "platform/net/NtlmMessage.h"

#include <algorithm>
namespace pf {
namespace {

constexpr std::uint8_t kSignature[8] = {'N', 'T', 'L', 'M', 'S', 'S', 'P', 0};
// Up to the target info fields; older, shorter forms carry nothing NTLMv2 can answer.
constexpr std::size_t kChallengeMinimumLength = 48;
constexpr std::size_t kAuthenticateHeaderLength = 64;
constexpr std::uint16_t kAvEol = 0;
constexpr std::uint16_t kAvTimestamp = 7;

std::uint16_t read16(std::span<const std::uint8_t> bytes, std::size_t at) {
  return std::uint16_t(bytes[at] | bytes[at + 1] << 8);
}

std::uint32_t read32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return std::uint32_t(read16(bytes, at)) | std::uint32_t(read16(bytes, at + 2)) << 16;
}

void put16(NtlmMessage::Bytes& out, std::size_t at, std::uint16_t value) {
  out[at] = std::uint8_t(value);
  out[at + 1] = std::uint8_t(value >> 8);
}

void put32(NtlmMessage::Bytes& out, std::size_t at, std::uint32_t value) {
  put16(out, at, std::uint16_t(value));
  put16(out, at + 2, std::uint16_t(value >> 16));
}

NtlmMessage::Bytes header(std::uint32_t type, std::size_t length) {
  NtlmMessage::Bytes out(length, 0);
  std::copy(std::begin(kSignature), std::end(kSignature), out.begin());
  put32(out, 8, type);
  return out;
}

// Walks the AV pairs up to MsvAvEOL; false when a pair runs past the end or there are too many.
bool readTargetInfo(std::span<const std::uint8_t> info, NtlmMessage::Challenge& challenge) {
  std::size_t at = 0;
  for (std::size_t pairs = 0; pairs < NtlmMessage::kMaxTargetInfoPairs; ++pairs) {
    if (info.size() - at < 4) return false;
    std::uint16_t id = read16(info, at);
    std::uint16_t length = read16(info, at + 2);
    at += 4;
    if (info.size() - at < length) return false;
    if (id == kAvEol) return true;
    if (id == kAvTimestamp && length == 8) {
      challenge.timestamp = std::uint64_t(read32(info, at)) | std::uint64_t(read32(info, at + 4)) << 32;
    }
    at += length;
  }
  return false;
}

}  // namespace

NtlmMessage::Bytes NtlmMessage::unicode(std::u16string_view text) {
  Bytes out;
  out.reserve(text.size() * 2);
  for (char16_t unit : text) {
    out.push_back(std::uint8_t(unit));
    out.push_back(std::uint8_t(unit >> 8));
  }
  return out;
}

NtlmMessage::Bytes NtlmMessage::negotiate() {
  Bytes out = header(1, 32);
  put32(out, 12, kClientFlags);
  return out;
}

std::optional<NtlmMessage::Challenge> NtlmMessage::parseChallenge(std::span<const std::uint8_t> message) {
  if (message.size() < kChallengeMinimumLength || message.size() > kMaxChallengeLength) return std::nullopt;
  if (!std::equal(std::begin(kSignature), std::end(kSignature), message.begin())) return std::nullopt;
  if (read32(message, 8) != 2) return std::nullopt;

  Challenge challenge;
  challenge.flags = read32(message, 20);
  std::copy_n(message.begin() + 24, 8, challenge.serverChallenge.begin());
  std::size_t length = read16(message, 40);
  std::size_t offset = read32(message, 44);
  if (length == 0) return challenge;
  if (offset > message.size() || message.size() - offset < length) return std::nullopt;
  auto info = message.subspan(offset, length);
  if (!readTargetInfo(info, challenge)) return std::nullopt;
  challenge.targetInfo.assign(info.begin(), info.end());
  return challenge;
}

std::optional<NtlmMessage::Bytes> NtlmMessage::authenticate(const Authenticate& fields) {
  // Payload order: domain, user, workstation, LM response, NT response; no session key.
  const Bytes payloads[] = {unicode(fields.domain), unicode(fields.user), unicode(fields.workstation),
                            fields.lmResponse, fields.ntResponse};
  constexpr std::size_t kFieldPositions[] = {28, 36, 44, 12, 20};

  Bytes out = header(3, kAuthenticateHeaderLength);
  for (std::size_t i = 0; i < std::size(payloads); ++i) {
    const Bytes& payload = payloads[i];
    if (payload.size() > 0xffff) return std::nullopt;
    std::size_t at = kFieldPositions[i];
    put16(out, at, std::uint16_t(payload.size()));
    put16(out, at + 2, std::uint16_t(payload.size()));
    put32(out, at + 4, std::uint32_t(out.size()));
    out.insert(out.end(), payload.begin(), payload.end());
  }
  put32(out, 52 + 4, std::uint32_t(out.size()));  // empty session key, pointing at the end
  put32(out, 60, fields.flags);
  return out;
}

}  // namespace pf
