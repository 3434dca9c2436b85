#include "platform/foundation/Md5.h"

#include <openssl/evp.h>

#include "platform/foundation/Error.h"

namespace pf::md5 {

Digest digest(std::span<const std::uint8_t> bytes) {
  Digest out{};
  unsigned int size = 0;
  // Fails only when the library cannot work at all (no memory, MD5 disabled by policy).
  if (EVP_Digest(bytes.data(), bytes.size(), out.data(), &size, EVP_md5(), nullptr) != 1 ||
      size != out.size()) {
    throw ContractViolation("MD5 is not available from the crypto library");
  }
  return out;
}

Digest digest(std::string_view text) {
  return digest(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

std::string hex(const Digest& digest, LetterCase letters) {
  const char* digits = letters == LetterCase::Upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string out;
  out.reserve(digest.size() * 2);
  for (std::uint8_t byte : digest) {
    out += digits[byte >> 4];
    out += digits[byte & 0x0F];
  }
  return out;
}

std::string hex(std::span<const std::uint8_t> bytes, LetterCase letters) {
  return hex(digest(bytes), letters);
}

std::string hex(std::string_view text, LetterCase letters) {
  return hex(digest(text), letters);
}

}  // namespace pf::md5
