#include "app/model/ems/EmsAnswerCode.h"

#include <algorithm>
#include <cctype>

namespace {

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(
      a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

}  // namespace

EmsAnswerCode::Parts EmsAnswerCode::parse(std::string_view answer, Form form) {
  Parts parts;
  switch (form) {
    case Form::Text:
      parts.text = std::string(answer);
      break;
    case Form::Options:
      for (std::string_view id : split(answer)) {
        if (!id.empty()) parts.optionIds.emplace_back(id);
      }
      break;
    case Form::OptionWithText: {
      const size_t at = answer.find(kSeparator);
      const std::string_view id = answer.substr(0, at);
      if (!id.empty()) parts.optionIds.emplace_back(id);
      if (at != std::string_view::npos) parts.text = std::string(answer.substr(at + kSeparator.size()));
      break;
    }
  }
  return parts;
}

bool EmsAnswerCode::choosesOption(std::string_view answer, Form form, std::string_view optionId) {
  if (optionId.empty()) return false;
  const Parts parts = parse(answer, form);
  return std::ranges::any_of(
      parts.optionIds, [&](const std::string& chosen) { return equalsIgnoringAsciiCase(chosen, optionId); });
}

std::string EmsAnswerCode::join(const std::vector<std::string>& optionIds) {
  std::string text;
  for (size_t i = 0; i < optionIds.size(); ++i) {
    if (i > 0) text += kSeparator;
    text += optionIds[i];
  }
  return text;
}

std::vector<std::string_view> EmsAnswerCode::split(std::string_view text) {
  std::vector<std::string_view> parts;
  size_t from = 0;
  for (size_t at = text.find(kSeparator); at != std::string_view::npos; at = text.find(kSeparator, from)) {
    parts.push_back(text.substr(from, at - from));
    from = at + kSeparator.size();
  }
  parts.push_back(text.substr(from));
  return parts;
}

std::string EmsAnswerCode::comparableRightAnswer(std::string_view answer, bool firstPartOnly) {
  if (answer.ends_with(kSeparator)) answer.remove_suffix(kSeparator.size());
  if (firstPartOnly) answer = answer.substr(0, answer.find(kSeparator));
  return std::string(answer);
}
