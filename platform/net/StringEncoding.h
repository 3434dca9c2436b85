#pragma once
// The text encodings HTTP bodies are declared in ("charset=" of a Content-Type), known by their IANA
// names and common aliases, matched without regard to case.

#include <optional>
#include <string>
#include <string_view>

namespace pf {

enum class StringEncoding {
  ASCII,
  UTF8,
  ISOLatin1,
  ISOLatin2,
  WindowsCP1250,
  WindowsCP1251,
  WindowsCP1252,
  UTF16,
  UTF16BigEndian,
  UTF16LittleEndian,
  UTF32,
  ShiftJIS,
  EUCJP,
  ISO2022JP,
  GB18030,
  Big5,
  EUCKR,
  KOI8R,
};

// nullopt for a name no encoding here answers to.
std::optional<StringEncoding> stringEncodingForIanaCharsetName(std::string_view name);
// The preferred IANA name in lower case: "utf-8", "iso-8859-1", ...
std::string ianaCharsetNameOfStringEncoding(StringEncoding encoding);

}  // namespace pf
