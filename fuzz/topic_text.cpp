// The topic field of a question: any text (as a text field gives it, valid UTF-8) split into topics,
// judged against the length and count rules, and rebuilt for sending. The pieces hold no separator and
// account for the whole text, the verdict follows the pieces, and a text that may be sent still may
// once rebuilt, with no space or line feed left in it.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/service/ans/TopicText.h"
#include "platform/foundation/Utf16.h"
#include "platform/foundation/Utf8.h"

namespace {

[[noreturn]] void topicTextFail(const char* what, const std::string& text) {
  std::fprintf(stderr, "%s: \"%s\"\n", what, text.c_str());
  std::abort();
}

std::string topicTextTyped(const std::uint8_t* data, std::size_t size) {
  const std::string raw(reinterpret_cast<const char*>(data), size);
  std::string text;
  for (std::size_t pos = 0; pos < raw.size();) {
    const pf::utf8::Character c = pf::utf8::decode(raw, pos);
    pf::utf8::append(text, c.codePoint);
    pos += c.size;
  }
  return text;
}

std::size_t topicTextCount(const std::string& text, const std::string& needle) {
  std::size_t count = 0;
  for (std::size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + needle.size())) {
    ++count;
  }
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = topicTextTyped(data, size);
  const auto topics = TopicText::split(text);
  const std::size_t commas = topicTextCount(text, ",");
  const std::size_t wideCommas = topicTextCount(text, TopicText::kFullWidthComma);
  std::size_t bytes = commas + wideCommas * (sizeof TopicText::kFullWidthComma - 1);
  for (const auto& topic : topics) {
    if (topic.find(',') != std::string::npos || topic.find(TopicText::kFullWidthComma) != std::string::npos) {
      topicTextFail("a topic holds a separator", text);
    }
    bytes += topic.size();
  }
  if (topics.size() != commas + wideCommas + 1 || bytes != text.size()) {
    topicTextFail("the topics do not account for the text", text);
  }

  const auto violation = TopicText::violation(text);
  const bool tooLong = std::any_of(topics.begin(), topics.end(), [](const std::string& topic) {
    return pf::utf16::length(topic) > TopicText::kMaxTopicLength;
  });
  const auto expected = tooLong                                     ? std::optional<std::string>(TopicText::kTooLongMessage)
                        : topics.size() > TopicText::kMaxTopicCount ? std::optional<std::string>(TopicText::kTooManyMessage)
                                                                    : std::nullopt;
  if (violation != expected) topicTextFail("the verdict does not follow the topics", text);

  const std::string rebuilt = TopicText::rebuilt(text);
  if (rebuilt.find_first_of(" \n") != std::string::npos) topicTextFail("space left in the rebuilt text", rebuilt);
  if (!violation && TopicText::violation(rebuilt)) topicTextFail("rebuilding broke the rules", text);
  return 0;
}
