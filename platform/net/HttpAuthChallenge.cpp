#include "platform/net/HttpAuthChallenge.h"

#include <algorithm>

#include "platform/foundation/TextHelpers.h"

namespace pf {
namespace {

bool isTokenChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

bool isToken68Char(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         std::string_view("-._~+/").find(c) != std::string_view::npos;
}

// Control characters other than the tab have no place in a field value; refusing them keeps line
// breaks and NULs out of everything later echoed into a request.
bool hasControlCharacterBesidesTab(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t') || byte == 0x7f;
  });
}

}  // namespace

// Reads one field value left to right; every method answers false on malformed input.
class ChallengeReader {
 public:
  explicit ChallengeReader(std::string_view text) : text_(text) {}

  std::optional<std::vector<HttpAuthChallenge>> readAll() {
    std::vector<HttpAuthChallenge> challenges;
    while (true) {
      skipListSeparators();
      if (atEnd()) return challenges;
      if (challenges.size() == HttpAuthChallenge::kMaxChallengesPerField) return std::nullopt;
      HttpAuthChallenge challenge;
      if (!readChallenge(challenge)) return std::nullopt;
      challenges.push_back(std::move(challenge));
    }
  }

 private:
  bool atEnd() const { return pos_ == text_.size(); }
  char peek() const { return text_[pos_]; }

  std::size_t skipSpaces() {
    std::size_t start = pos_;
    while (!atEnd() && (peek() == ' ' || peek() == '\t')) ++pos_;
    return pos_ - start;
  }

  void skipListSeparators() {
    while (!atEnd() && (peek() == ' ' || peek() == '\t' || peek() == ',')) ++pos_;
  }

  std::string readToken() {
    std::size_t start = pos_;
    while (!atEnd() && isTokenChar(peek())) ++pos_;
    return std::string(text_.substr(start, pos_ - start));
  }

  bool readChallenge(HttpAuthChallenge& challenge) {
    challenge.scheme_ = readToken();
    if (challenge.scheme_.empty()) return false;
    std::size_t spaces = skipSpaces();
    if (atEnd() || peek() == ',') return true;
    if (spaces == 0) return false;
    return readToken68(challenge) || readParameters(challenge);
  }

  // A token68 stands alone: its characters, any "=" padding, then the end or a comma.
  bool readToken68(HttpAuthChallenge& challenge) {
    std::size_t end = pos_;
    while (end < text_.size() && isToken68Char(text_[end])) ++end;
    if (end == pos_) return false;
    while (end < text_.size() && text_[end] == '=') ++end;
    std::size_t next = end;
    while (next < text_.size() && (text_[next] == ' ' || text_[next] == '\t')) ++next;
    if (next != text_.size() && text_[next] != ',') return false;
    challenge.token68_ = std::string(text_.substr(pos_, end - pos_));
    pos_ = next;
    return true;
  }

  bool readParameters(HttpAuthChallenge& challenge) {
    while (true) {
      std::size_t nameStart = pos_;
      std::string name = readToken();
      if (name.empty()) return false;
      skipSpaces();
      if (atEnd() || peek() != '=') {
        // A bare token after a comma starts the next challenge.
        if (challenge.parameters_.empty()) return false;
        pos_ = nameStart;
        return true;
      }
      ++pos_;
      skipSpaces();
      std::optional<std::string> value = readValue();
      if (!value) return false;
      if (challenge.parameters_.size() == HttpAuthChallenge::kMaxParameters) return false;
      if (!challenge.parameters_.emplace(text::lowercase(name), std::move(*value)).second) return false;
      skipSpaces();
      if (atEnd()) return true;
      if (peek() != ',') return false;
      skipListSeparators();
      if (atEnd()) return true;
    }
  }

  std::optional<std::string> readValue() {
    if (atEnd()) return std::nullopt;
    if (peek() != '"') {
      std::string token = readToken();
      if (token.empty()) return std::nullopt;
      return token;
    }
    ++pos_;
    std::string value;
    while (!atEnd()) {
      char c = text_[pos_++];
      if (c == '"') return value;
      if (c == '\\') {
        if (atEnd()) return std::nullopt;
        c = text_[pos_++];
      }
      value.push_back(c);
    }
    return std::nullopt;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

std::optional<std::vector<HttpAuthChallenge>> HttpAuthChallenge::parseField(std::string_view value) {
  if (value.size() > kMaxFieldLength || hasControlCharacterBesidesTab(value)) return std::nullopt;
  return ChallengeReader(value).readAll();
}

std::vector<HttpAuthChallenge> HttpAuthChallenge::parseFields(const Fields& fields,
                                                              std::string_view fieldName) {
  std::vector<HttpAuthChallenge> challenges;
  std::size_t read = 0;
  for (const auto& [name, value] : fields) {
    if (!text::equalsIgnoringCase(name, fieldName)) continue;
    if (++read > kMaxFieldsRead) break;
    if (auto parsed = parseField(value)) {
      challenges.insert(challenges.end(), parsed->begin(), parsed->end());
    }
  }
  return challenges;
}

bool HttpAuthChallenge::isScheme(std::string_view name) const {
  return text::equalsIgnoringCase(scheme_, name);
}

std::optional<std::string> HttpAuthChallenge::parameter(std::string_view name) const {
  auto found = parameters_.find(text::lowercase(name));
  if (found == parameters_.end()) return std::nullopt;
  return found->second;
}

}  // namespace pf
