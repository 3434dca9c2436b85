#include "platform/net/HmacMd5.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>

#include "platform/foundation/Error.h"

namespace pf {

HmacMd5::Mac HmacMd5::mac(std::span<const std::uint8_t> key, std::span<const std::uint8_t> data) {
  Mac out{};
  unsigned int length = 0;
  // An empty span may carry a null pointer, which OpenSSL reads as "no key" rather than "empty key".
  static const std::uint8_t kNothing = 0;
  const std::uint8_t* keyBytes = key.empty() ? &kNothing : key.data();
  const std::uint8_t* dataBytes = data.empty() ? &kNothing : data.data();
  if (!HMAC(EVP_md5(), keyBytes, int(key.size()), dataBytes, data.size(), out.data(), &length) ||
      length != out.size()) {
    throw ContractViolation("HMAC-MD5 is not available from OpenSSL");
  }
  return out;
}

}  // namespace pf
