#include "core/util/MD5HexDigest.h"

#include "platform/foundation/Md5.h"

std::string MD5HexDigest::MD5TO32Lower(std::string_view text) {
  return pf::md5::hex(text, pf::md5::LetterCase::Lower);
}

std::string MD5HexDigest::MD5TO32Upper(std::string_view text) {
  return pf::md5::hex(text, pf::md5::LetterCase::Upper);
}

std::string MD5HexDigest::MD5TO16Lower(std::string_view text) {
  return MD5TO32Lower(text).substr(8, 16);
}

std::string MD5HexDigest::MD5TO16Upper(std::string_view text) {
  return MD5TO32Upper(text).substr(8, 16);
}
