#include "platform/net/Url.h"

#include <cctype>
#include <charconv>

#include "platform/foundation/TextHelpers.h"

namespace pf {
namespace {

// A URI reference cut into its five parts (RFC 3986, appendix B), still percent-encoded.
struct Reference {
  std::optional<std::string> scheme;
  std::optional<std::string> authority;
  std::string path;
  std::optional<std::string> query;
  std::optional<std::string> fragment;
};

bool isHex(char c) {
  return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  return std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
}

// Whether a "%" at pos starts a well-formed escape.
bool isEscape(std::string_view text, std::size_t pos) {
  return pos + 2 < text.size() && isHex(text[pos + 1]) && isHex(text[pos + 2]);
}

// Printable ASCII that may stand in a URL; brackets only where an IPv6 host is written.
bool isUrlCharacter(char c, bool inAuthority) {
  const auto u = static_cast<unsigned char>(c);
  if (u <= 0x20 || u >= 0x7f) return false;
  if (c == '[' || c == ']') return inAuthority;
  return std::string_view("\"<>\\^`{|}").find(c) == std::string_view::npos;
}

bool hasValidCharacters(std::string_view text, bool inAuthority) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!isUrlCharacter(text[i], inAuthority)) return false;
    if (text[i] == '%' && !isEscape(text, i)) return false;
  }
  return true;
}

bool isValidScheme(std::string_view scheme) {
  if (scheme.empty() || !std::isalpha(static_cast<unsigned char>(scheme[0]))) return false;
  for (char c : scheme) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') return false;
  }
  return true;
}

std::optional<Reference> splitReference(std::string_view text) {
  Reference ref;
  std::size_t pos = text.find_first_of(":/?#");
  if (pos != std::string_view::npos && text[pos] == ':' && isValidScheme(text.substr(0, pos))) {
    ref.scheme = std::string(text.substr(0, pos));
    text.remove_prefix(pos + 1);
  }
  if (text.starts_with("//")) {
    text.remove_prefix(2);
    std::size_t end = text.find_first_of("/?#");
    if (end == std::string_view::npos) end = text.size();
    ref.authority = std::string(text.substr(0, end));
    text.remove_prefix(end);
  }
  if (std::size_t hash = text.find('#'); hash != std::string_view::npos) {
    ref.fragment = std::string(text.substr(hash + 1));
    text = text.substr(0, hash);
  }
  if (std::size_t question = text.find('?'); question != std::string_view::npos) {
    ref.query = std::string(text.substr(question + 1));
    text = text.substr(0, question);
  }
  ref.path = std::string(text);
  const bool valid = (!ref.authority || hasValidCharacters(*ref.authority, true)) &&
                     hasValidCharacters(ref.path, false) &&
                     (!ref.query || hasValidCharacters(*ref.query, false)) &&
                     (!ref.fragment || hasValidCharacters(*ref.fragment, false));
  if (!valid) return std::nullopt;
  return ref;
}

std::string compose(const Reference& ref) {
  std::string out;
  if (ref.scheme) out += *ref.scheme + ":";
  if (ref.authority) out += "//" + *ref.authority;
  out += ref.path;
  if (ref.query) out += "?" + *ref.query;
  if (ref.fragment) out += "#" + *ref.fragment;
  return out;
}

// RFC 3986, section 5.2.4.
std::string removeDotSegments(std::string_view input) {
  std::string output;
  while (!input.empty()) {
    if (input.starts_with("../")) {
      input.remove_prefix(3);
    } else if (input.starts_with("./")) {
      input.remove_prefix(2);
    } else if (input.starts_with("/./")) {
      input.remove_prefix(2);
    } else if (input == "/.") {
      input = "/";
    } else if (input.starts_with("/../") || input == "/..") {
      input = input.size() == 3 ? std::string_view("/") : input.substr(3);
      const std::size_t last = output.rfind('/');
      output.erase(last == std::string::npos ? 0 : last);
    } else if (input == "." || input == "..") {
      input = {};
    } else {
      const std::size_t next = input.find('/', 1);
      const std::size_t take = next == std::string_view::npos ? input.size() : next;
      output.append(input.substr(0, take));
      input.remove_prefix(take);
    }
  }
  return output;
}

std::string mergePaths(const Reference& base, const std::string& relative) {
  if (base.authority && base.path.empty()) return "/" + relative;
  const std::size_t slash = base.path.rfind('/');
  return slash == std::string::npos ? relative : base.path.substr(0, slash + 1) + relative;
}

bool isHostCharacter(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) ||
         std::string_view("-._~!$&'()*+,;=%").find(c) != std::string_view::npos;
}

std::optional<int> parsePort(std::string_view digits, bool& valid) {
  valid = true;
  if (digits.empty()) return std::nullopt;
  int port = 0;
  const auto [end, failure] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
  // from_chars stops at the first non-digit and refuses numbers too large for an int.
  if (failure != std::errc() || end != digits.data() + digits.size() || digits[0] == '-' || port > 65535) {
    valid = false;
    return std::nullopt;
  }
  return port;
}

}  // namespace

std::optional<Url> Url::parse(std::string_view text) {
  std::optional<Reference> ref = splitReference(text);
  if (!ref || !ref->scheme) return std::nullopt;

  Url url;
  url.text_ = compose(*ref);
  url.scheme_ = text::lowercase(*ref->scheme);
  url.path_ = ref->path;
  url.query_ = ref->query;
  url.fragment_ = ref->fragment;
  if (!ref->authority) return url;

  url.hasAuthority_ = true;
  std::string_view authority = *ref->authority;
  if (std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
    std::string_view info = authority.substr(0, at);
    std::size_t colon = info.find(':');
    url.user_ = std::string(info.substr(0, colon));
    if (colon != std::string_view::npos) url.password_ = std::string(info.substr(colon + 1));
    authority.remove_prefix(at + 1);
  }
  std::string_view portText;
  if (authority.starts_with("[")) {
    const std::size_t close = authority.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    url.host_ = std::string(authority.substr(1, close - 1));
    std::string_view rest = authority.substr(close + 1);
    if (!rest.empty() && rest[0] != ':') return std::nullopt;
    if (!rest.empty()) portText = rest.substr(1);
    for (char c : url.host_) {
      if (!isHex(c) && c != ':' && c != '.') return std::nullopt;
    }
  } else {
    const std::size_t colon = authority.rfind(':');
    url.host_ = std::string(authority.substr(0, colon));
    if (colon != std::string_view::npos) portText = authority.substr(colon + 1);
    for (char c : url.host_) {
      if (!isHostCharacter(c)) return std::nullopt;
    }
  }
  bool validPort = true;
  url.port_ = parsePort(portText, validPort);
  if (!validPort) return std::nullopt;
  return url;
}

std::optional<Url> Url::resolve(std::string_view reference, const Url& base) {
  std::optional<Reference> r = splitReference(reference);
  std::optional<Reference> b = splitReference(base.text_);
  if (!r || !b) return std::nullopt;
  Reference t;
  if (r->scheme) {
    t = *r;
    t.path = removeDotSegments(r->path);
  } else {
    if (r->authority) {
      t.authority = r->authority;
      t.path = removeDotSegments(r->path);
      t.query = r->query;
    } else {
      if (r->path.empty()) {
        t.path = b->path;
        t.query = r->query ? r->query : b->query;
      } else {
        t.path = removeDotSegments(r->path.starts_with("/") ? r->path : mergePaths(*b, r->path));
        t.query = r->query;
      }
      t.authority = b->authority;
    }
    t.scheme = b->scheme;
  }
  t.fragment = r->fragment;
  return parse(compose(t));
}

std::string Url::percentEncode(std::string_view text, std::string_view keep) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x80 && (std::isalnum(u) || keep.find(c) != std::string_view::npos)) {
      out += c;
    } else {
      out += '%';
      out += kDigits[u >> 4];
      out += kDigits[u & 0xf];
    }
  }
  return out;
}

std::optional<std::string> Url::percentDecode(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    if (!isEscape(text, i)) return std::nullopt;
    out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
    i += 2;
  }
  return out;
}

int Url::portOrDefault() const {
  if (port_) return *port_;
  if (scheme_ == "http") return 80;
  if (scheme_ == "https") return 443;
  return 0;
}

std::optional<std::string> Url::user() const {
  return user_ ? percentDecode(*user_) : std::nullopt;
}

std::optional<std::string> Url::password() const {
  return password_ ? percentDecode(*password_) : std::nullopt;
}

std::string Url::path() const {
  return percentDecode(path_).value_or(path_);
}

std::string Url::requestTarget() const {
  std::string target = path_.empty() ? "/" : path_;
  if (query_) target += "?" + *query_;
  return target;
}

std::string Url::hostAndPort() const {
  std::string out = host_.find(':') != std::string::npos ? "[" + host_ + "]" : host_;
  if (port_) out += ":" + std::to_string(*port_);
  return out;
}

}  // namespace pf
