#include "platform/net/NtlmV2Response.h"

#include <locale.h>
#include <wctype.h>

#include "platform/foundation/Utf16.h"
#include "platform/net/HmacMd5.h"
#include "platform/net/Md4.h"
#include "platform/net/NtlmMessage.h"

namespace pf {
namespace {

// The C.UTF-8 locale carries the Unicode case tables whatever locale the process runs in; made once,
// never freed, read-only afterwards.
locale_t unicodeLocale() {
  static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(0));
  return locale;
}

char16_t upperUnit(char16_t unit) {
  bool surrogate = unit >= 0xd800 && unit <= 0xdfff;
  if (surrogate) return unit;
  if (locale_t locale = unicodeLocale()) {
    wint_t upper = towupper_l(wint_t(unit), locale);
    return upper <= 0xffff ? char16_t(upper) : unit;
  }
  return unit >= u'a' && unit <= u'z' ? char16_t(unit - u'a' + u'A') : unit;
}

NtlmV2Response::Bytes joined(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
  NtlmV2Response::Bytes out(a.begin(), a.end());
  out.insert(out.end(), b.begin(), b.end());
  return out;
}

}  // namespace

std::u16string NtlmV2Response::upperCase(std::string_view text) {
  std::u16string units = utf16::encode(text);
  for (char16_t& unit : units) unit = upperUnit(unit);
  return units;
}

NtlmV2Response::Key NtlmV2Response::responseKey(std::string_view user, std::string_view password,
                                                std::string_view domain) {
  Bytes passwordBytes = NtlmMessage::unicode(utf16::encode(password));
  Md4::Digest ntHash = Md4::digest(passwordBytes);
  Bytes identity = NtlmMessage::unicode(upperCase(user) + utf16::encode(domain));
  return HmacMd5::mac(ntHash, identity);
}

NtlmV2Response::Bytes NtlmV2Response::blob(std::uint64_t fileTime,
                                           std::span<const std::uint8_t, 8> clientChallenge,
                                           std::span<const std::uint8_t> targetInfo) {
  Bytes out = {1, 1, 0, 0, 0, 0, 0, 0};
  for (int i = 0; i < 8; ++i) out.push_back(std::uint8_t(fileTime >> (8 * i)));
  out.insert(out.end(), clientChallenge.begin(), clientChallenge.end());
  out.insert(out.end(), 4, 0);
  out.insert(out.end(), targetInfo.begin(), targetInfo.end());
  out.insert(out.end(), 4, 0);
  return out;
}

NtlmV2Response::Bytes NtlmV2Response::ntResponse(const Key& key,
                                                 std::span<const std::uint8_t, 8> serverChallenge,
                                                 std::span<const std::uint8_t> blob) {
  HmacMd5::Mac proof = HmacMd5::mac(key, joined(serverChallenge, blob));
  return joined(proof, blob);
}

NtlmV2Response::Bytes NtlmV2Response::lmResponse(const Key& key,
                                                 std::span<const std::uint8_t, 8> serverChallenge,
                                                 std::span<const std::uint8_t, 8> clientChallenge) {
  HmacMd5::Mac proof = HmacMd5::mac(key, joined(serverChallenge, clientChallenge));
  return joined(proof, clientChallenge);
}

}  // namespace pf
