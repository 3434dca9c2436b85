#include "app/util/KivRichLabelExtension.h"

#include "app/model/blg/Topic.h"
#include "platform/foundation/Format.h"
#include "platform/foundation/Utf8.h"
#include "platform/ui/Device.h"

namespace {

bool kivIsTablet() { return pf::Device::currentDevice().userInterfaceIdiom() == pf::Device::Idiom::Pad; }

// The characters a name after "@" may hold: CJK unified ideographs U+4E00-U+9FA5, ASCII letters and
// digits, "-", "_" and ".".
bool isMentionNameCharacter(char32_t c) {
  return (c >= 0x4E00 && c <= 0x9FA5) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
         (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
}

struct KivMention {
  std::size_t begin = 0;  // byte offset of the "@"
  std::size_t end = 0;    // byte offset after the name
};

std::vector<KivMention> findKivMentions(const std::string& text) {
  std::vector<KivMention> found;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto at = pf::utf8::decode(text, pos);
    if (at.codePoint != '@') {
      pos += at.size;
      continue;
    }
    std::size_t end = pos + at.size;
    while (end < text.size()) {
      const auto c = pf::utf8::decode(text, end);
      if (!isMentionNameCharacter(c.codePoint)) break;
      end += c.size;
    }
    if (end > pos + at.size) found.push_back({pos, end});
    pos = end;
  }
  return found;
}

std::string kivDropTagCharacters(const std::string& text) {
  std::string out;
  for (char c : text)
    if (c != '<' && c != '>') out += c;
  return out;
}

}  // namespace

std::string KivRichLabelExtension::escapedText(const std::optional<std::string>& text) {
  std::string out;
  for (char c : text.value_or("")) {
    if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else out += c;
  }
  return out;
}

std::string KivRichLabelExtension::hrefText(const std::optional<std::string>& text) {
  return kivDropTagCharacters(text.value_or(""));
}

std::string KivRichLabelExtension::updateBlgContentStringWithString(const std::optional<std::string>& text,
                                                                    bool isContent) {
  const std::string source = text.value_or("");
  const double size = kivIsTablet() ? 30.0 : 18.0;
  const std::string color = isContent ? kContentColor : kOtherTextColor;
  std::string result;
  std::size_t cursor = 0;
  auto appendSpan = [&](std::size_t end) {
    result += pf::format("<font size=%f color='%@'>%@</font>", size, color,
                         escapedText(source.substr(cursor, end - cursor)));
  };
  for (const auto& mention : findKivMentions(source)) {
    appendSpan(mention.begin);
    const std::string whole = source.substr(mention.begin, mention.end - mention.begin);
    result += pf::format("<a href='%@'><font size=%f color='%@'> %@</font></a>", hrefText(whole.substr(1)), size,
                         std::string(kMentionColor), escapedText(whole));
    cursor = mention.end;
  }
  appendSpan(source.size());
  return result;
}

std::string KivRichLabelExtension::blogContentAddTopics(const std::vector<std::shared_ptr<Topic>>& topics) {
  const double size = kivIsTablet() ? 28.0 : 16.0;
  std::string result;
  for (const auto& topic : topics) {
    if (!topic) continue;
    result += pf::format(
        "<a href='topicID:%@;%@'><font size=%f color='clear' title_color='%@' background_normal='%@' "
        "background_highlight='%@'> %@</font></a>",
        hrefText(topic->topicId), hrefText(topic->title), size, std::string(kTopicTitleColor),
        std::string(kTopicBackgroundColor), std::string(kTopicPressedColor), escapedText(topic->title));
    result += " ";
  }
  return result;
}

std::string KivRichLabelExtension::rtHrefStrForTittle(const std::optional<std::string>& title,
                                                      const std::optional<std::string>& href, int titleSize,
                                                      const std::string& titleColorStr,
                                                      const std::string& backGroundColorNormal,
                                                      const std::string& backGroundColorHighlighted) {
  return pf::format(
      "<a href='%@'><font size=%d color='clear' title_color='#%@' background_normal='#%@' "
      "background_highlight='%@'>%@</font></a>",
      hrefText(href), titleSize, titleColorStr, backGroundColorNormal, backGroundColorHighlighted,
      escapedText(title));
}

std::string KivRichLabelExtension::rtNormalStrForTitle(const std::optional<std::string>& title, int titleFontSize,
                                                       const std::string& titleColorHexStr) {
  return pf::format("<font size=%d color='%@' linebreakmode='wordwrap'>%@</font>", titleFontSize, titleColorHexStr,
                    escapedText(title));
}
