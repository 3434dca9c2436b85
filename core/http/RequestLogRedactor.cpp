#include "core/http/RequestLogRedactor.h"

#include <cctype>

#include "platform/foundation/TextHelpers.h"

namespace {

constexpr std::string_view kSecretKeys[] = {"password", "loginName", "session_", "psw", "oldPsw"};

bool isSpace(char c) {
  return std::isspace(static_cast<unsigned char>(c)) != 0;
}

std::size_t skipSpaces(std::string_view text, std::size_t at) {
  while (at < text.size() && isSpace(text[at])) ++at;
  return at;
}

// End of the JSON value starting at `at`: past a string literal's closing quote, else before the
// next separator.
std::size_t jsonValueEnd(std::string_view text, std::size_t at) {
  if (at < text.size() && text[at] == '"') {
    for (std::size_t i = at + 1; i < text.size(); ++i) {
      if (text[i] == '\\') {
        ++i;
      } else if (text[i] == '"') {
        return i + 1;
      }
    }
    return text.size();
  }
  std::size_t end = at;
  while (end < text.size() && text[end] != ',' && text[end] != '}' && text[end] != ']' &&
         !isSpace(text[end])) {
    ++end;
  }
  return end;
}

std::size_t formValueEnd(std::string_view text, std::size_t at) {
  std::size_t end = at;
  while (end < text.size() && text[end] != '&' && text[end] != '#' && text[end] != ';' && text[end] != '"' &&
         !isSpace(text[end])) {
    ++end;
  }
  return end;
}

bool isFormBoundary(char c) {
  return c == '?' || c == '&' || c == ';' || isSpace(c);
}

// Masks every value of one key; answers the text with the masks in place.
std::string maskKey(std::string text, std::string_view key) {
  std::size_t from = 0;
  while ((from = pf::text::findIgnoringCase(text, key, from)) != std::string::npos) {
    const std::size_t keyEnd = from + key.size();
    const char before = from > 0 ? text[from - 1] : '&';
    if (before == '"' && keyEnd < text.size() && text[keyEnd] == '"') {
      const std::size_t colon = skipSpaces(text, keyEnd + 1);
      if (colon < text.size() && text[colon] == ':') {
        const std::size_t value = skipSpaces(text, colon + 1);
        const std::string mask = std::string("\"") + RequestLogRedactor::kMask + "\"";
        text.replace(value, jsonValueEnd(text, value) - value, mask);
        from = value + mask.size();
        continue;
      }
    } else if (isFormBoundary(before) && keyEnd < text.size() && text[keyEnd] == '=') {
      const std::size_t value = keyEnd + 1;
      text.replace(value, formValueEnd(text, value) - value, RequestLogRedactor::kMask);
      from = value + std::string_view(RequestLogRedactor::kMask).size();
      continue;
    }
    from = keyEnd;
  }
  return text;
}

}  // namespace

std::string RequestLogRedactor::redact(std::string text) {
  for (std::string_view key : kSecretKeys) text = maskKey(std::move(text), key);
  return text;
}

std::string RequestLogRedactor::redactedURL(const std::optional<pf::Url>& url) {
  if (!url) return "(no URL)";
  std::string text = url->absoluteString();
  const std::size_t authority = text.find("://");
  if (authority != std::string::npos) {
    const std::size_t start = authority + 3;
    const std::size_t end = text.find_first_of("/?#", start);
    const std::size_t at = text.rfind('@', end == std::string::npos ? std::string::npos : end);
    if (at != std::string::npos && at >= start) text.replace(start, at - start, kMask);
  }
  return redact(std::move(text));
}
