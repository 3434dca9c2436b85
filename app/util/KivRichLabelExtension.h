#pragma once
// The one writer of the rich label's markup: a blog text whose mentions ("@name") become links, a row
// of topic chips, and single link and plain spans. Shown text and titles are escaped ("<" as "&lt;",
// ">" as "&gt;") so a user's text never opens a tag; link targets leave those characters out. Sizes
// follow the device idiom (a tablet writes larger). Stateless; any thread.

#include <memory>
#include <optional>
#include <string>
#include <vector>

class Topic;

class KivRichLabelExtension {
 public:
  static constexpr char kContentColor[] = "#424242";
  static constexpr char kOtherTextColor[] = "#797979";
  static constexpr char kMentionColor[] = "#005E78";
  static constexpr char kTopicTitleColor[] = "#CE7322";
  static constexpr char kTopicBackgroundColor[] = "#D0DBE0";
  static constexpr char kTopicPressedColor[] = "#888888";
  static constexpr char kTopicLinkPrefix[] = "topicID:";

  // The blog text as spans with every mention as a link to the name after its "@".
  static std::string updateBlgContentStringWithString(const std::optional<std::string>& text, bool isContent);
  // One chip per topic, each followed by a space; empty for none.
  static std::string blogContentAddTopics(const std::vector<std::shared_ptr<Topic>>& topics);
  // A link chip; the title colour and normal background are bare hex digits, the pressed one has its "#".
  static std::string rtHrefStrForTittle(const std::optional<std::string>& title, const std::optional<std::string>& href,
                                        int titleSize, const std::string& titleColorStr,
                                        const std::string& backGroundColorNormal,
                                        const std::string& backGroundColorHighlighted);
  static std::string rtNormalStrForTitle(const std::optional<std::string>& title, int titleFontSize,
                                         const std::string& titleColorHexStr);

  // Shown text with "<" and ">" escaped; nil is empty.
  static std::string escapedText(const std::optional<std::string>& text);
  // A link target without "<" and ">"; nil is empty.
  static std::string hrefText(const std::optional<std::string>& text);
};
