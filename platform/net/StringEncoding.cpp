#include "platform/net/StringEncoding.h"

#include <initializer_list>

#include "platform/foundation/TextHelpers.h"

namespace pf {
namespace {

struct Entry {
  StringEncoding encoding;
  // The preferred name first.
  std::initializer_list<const char*> names;
};

const Entry kEntries[] = {
    {StringEncoding::ASCII, {"us-ascii", "ascii", "ansi_x3.4-1968", "iso646-us", "csascii"}},
    {StringEncoding::UTF8, {"utf-8", "utf8", "unicode-1-1-utf-8"}},
    {StringEncoding::ISOLatin1, {"iso-8859-1", "iso8859-1", "iso_8859-1", "latin1", "l1", "cp819", "ibm819"}},
    {StringEncoding::ISOLatin2, {"iso-8859-2", "iso8859-2", "iso_8859-2", "latin2", "l2"}},
    {StringEncoding::WindowsCP1250, {"windows-1250", "cp1250"}},
    {StringEncoding::WindowsCP1251, {"windows-1251", "cp1251"}},
    {StringEncoding::WindowsCP1252, {"windows-1252", "cp1252"}},
    {StringEncoding::UTF16, {"utf-16", "utf16"}},
    {StringEncoding::UTF16BigEndian, {"utf-16be"}},
    {StringEncoding::UTF16LittleEndian, {"utf-16le"}},
    {StringEncoding::UTF32, {"utf-32", "utf32"}},
    {StringEncoding::ShiftJIS, {"shift_jis", "shift-jis", "sjis", "ms_kanji", "csshiftjis"}},
    {StringEncoding::EUCJP, {"euc-jp", "eucjp"}},
    {StringEncoding::ISO2022JP, {"iso-2022-jp", "csiso2022jp"}},
    {StringEncoding::GB18030, {"gb18030", "gbk", "gb2312", "cp936", "x-gbk", "euc-cn"}},
    {StringEncoding::Big5, {"big5", "big5-hkscs", "csbig5"}},
    {StringEncoding::EUCKR, {"euc-kr", "euckr", "cseuckr"}},
    {StringEncoding::KOI8R, {"koi8-r", "cskoi8r"}},
};

}  // namespace

std::optional<StringEncoding> stringEncodingForIanaCharsetName(std::string_view name) {
  for (const Entry& entry : kEntries) {
    for (const char* known : entry.names) {
      if (text::equalsIgnoringCase(name, known)) return entry.encoding;
    }
  }
  return std::nullopt;
}

std::string ianaCharsetNameOfStringEncoding(StringEncoding encoding) {
  for (const Entry& entry : kEntries) {
    if (entry.encoding == encoding) return *entry.names.begin();
  }
  return "utf-8";
}

}  // namespace pf
