#pragma once
// The rules for the topic field of a question: the learner types topic names separated by ASCII or
// full-width commas. Lengths count UTF-16 units, as users were shown the limits.

#include <optional>
#include <string>
#include <vector>

class TopicText {
 public:
  static constexpr std::size_t kMaxTopicLength = 10;
  static constexpr std::size_t kMaxTopicCount = 5;
  static constexpr char kFullWidthComma[] = "，";
  static constexpr char kTooLongMessage[] = "单个话题的字数不能超过10个";
  static constexpr char kTooManyMessage[] = "最多不可以超过5个话题哦";

  // The pieces between separators; empty pieces count, nothing is trimmed.
  static std::vector<std::string> split(const std::string& text);
  // The message telling why the text cannot be sent, or nullopt when it may be. The length rule is
  // checked over all topics before the count rule.
  static std::optional<std::string> violation(const std::string& text);
  // Exact repeats dropped, joined with full-width commas, line feeds and spaces removed, one leading
  // and one trailing full-width comma dropped.
  static std::string rebuilt(const std::string& text);
};
