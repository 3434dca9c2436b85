#pragma once
// The blog screens' markup for tests: a text with its mentions as links and a row of topic chips, in
// the forms the label reads, with user text escaped as the one markup builder escapes it.

#include <string>
#include <utility>
#include <vector>

#include "platform/foundation/Format.h"
#include "platform/foundation/Utf16.h"

namespace blog_markup {

inline std::string escaped(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
  return out;
}

inline bool isMentionUnit(char16_t c) {
  return (c >= 0x4E00 && c <= 0x9FA5) || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
         (c >= u'0' && c <= u'9') || c == u'-' || c == u'_' || c == u'.';
}

inline std::string textSpan(const std::u16string& text, double size) {
  return pf::format("<font size=%f color='%@'>%@</font>", size, std::string("#424242"),
                    escaped(pf::utf16::decode(text)));
}

// Every "@name" becomes a link to name; sizes 18 on a phone, 30 on a tablet.
inline std::string content(const std::string& text, bool tablet = false) {
  const double size = tablet ? 30.0 : 18.0;
  const std::u16string units = pf::utf16::encode(text);
  std::string out;
  std::size_t cursor = 0;
  for (std::size_t i = 0; i < units.size(); ++i) {
    if (units[i] != u'@') continue;
    std::size_t end = i + 1;
    while (end < units.size() && isMentionUnit(units[end])) ++end;
    if (end == i + 1) continue;
    out += textSpan(units.substr(cursor, i - cursor), size);
    const std::string name = pf::utf16::decode(units.substr(i + 1, end - i - 1));
    out += pf::format("<a href='%@'><font size=%f color='%@'> %@</font></a>", escaped(name), size,
                      std::string("#005E78"), "@" + escaped(name));
    cursor = end;
    i = end - 1;
  }
  return out + textSpan(units.substr(cursor), size);
}

// Topic chips: (id, title) pairs; 16 on a phone, 28 on a tablet.
inline std::string topics(const std::vector<std::pair<std::string, std::string>>& list, bool tablet = false) {
  std::string out;
  for (const auto& [id, title] : list) {
    out += pf::format(
        "<a href='topicID:%@;%@'><font size=%f color='clear' title_color='%@' background_normal='%@' "
        "background_highlight='%@'> %@</font></a> ",
        id, escaped(title), tablet ? 28.0 : 16.0, std::string("#CE7322"), std::string("#D0DBE0"),
        std::string("#888888"), escaped(title));
  }
  return out;
}

}  // namespace blog_markup
