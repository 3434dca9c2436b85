#include "core/util/StringUtil.h"

#include "platform/foundation/Error.h"

std::string StringUtil::dbColumnNameWithString(std::string_view propName) {
  if (propName.empty()) throw pf::ContractViolation("Parse propName can not be null or empty.");
  std::string column;
  column.reserve(propName.size() + 4);
  for (size_t i = 0; i < propName.size(); ++i) {
    char c = propName[i];
    if (c >= 'A' && c <= 'Z') {
      if (i > 0) column += '_';
      column += static_cast<char>(c - 'A' + 'a');
    } else {
      column += c;
    }
  }
  return column;
}

bool StringUtil::isNullOrEmpty(const std::optional<std::string>& text) { return !text || text->empty(); }

bool StringUtil::isBlank(const std::optional<std::string>& text) {
  return !text || text->find_first_not_of(" \t") == std::string::npos;
}

std::string StringUtil::htmlEscaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}
