#pragma once
// MD5 digests of text in the forms the server expects: 32 hexadecimal digits for sign-in (lower case)
// and request signatures (upper case), and the 16-digit middle of those.

#include <string>
#include <string_view>

class MD5HexDigest {
 public:
  static std::string MD5TO32Lower(std::string_view text);
  static std::string MD5TO32Upper(std::string_view text);
  // Digits 8 to 23 of the 32-digit form.
  static std::string MD5TO16Lower(std::string_view text);
  static std::string MD5TO16Upper(std::string_view text);
};
