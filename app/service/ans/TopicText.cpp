#include "app/service/ans/TopicText.h"

#include <algorithm>

#include "platform/foundation/TextHelpers.h"
#include "platform/foundation/Utf16.h"

std::vector<std::string> TopicText::split(const std::string& text) {
  const std::string unified = pf::text::replaceAll(text, kFullWidthComma, ",");
  return pf::text::split(unified, ",");
}

std::optional<std::string> TopicText::violation(const std::string& text) {
  const std::vector<std::string> topics = split(text);
  const bool tooLong = std::any_of(topics.begin(), topics.end(), [](const std::string& topic) {
    return pf::utf16::length(topic) > kMaxTopicLength;
  });
  if (tooLong) return kTooLongMessage;
  if (topics.size() > kMaxTopicCount) return kTooManyMessage;
  return std::nullopt;
}

std::string TopicText::rebuilt(const std::string& text) {
  std::vector<std::string> kept;
  for (std::string& topic : split(text)) {
    if (std::find(kept.begin(), kept.end(), topic) == kept.end()) kept.push_back(std::move(topic));
  }
  std::string joined;
  for (std::size_t i = 0; i < kept.size(); ++i) {
    if (i > 0) joined += kFullWidthComma;
    joined += kept[i];
  }
  joined = pf::text::replaceAll(joined, "\n", "");
  joined = pf::text::replaceAll(joined, " ", "");
  if (pf::text::hasPrefix(joined, kFullWidthComma)) joined.erase(0, sizeof kFullWidthComma - 1);
  if (pf::text::hasSuffix(joined, kFullWidthComma))
    joined.erase(joined.size() - (sizeof kFullWidthComma - 1));
  return joined;
}
