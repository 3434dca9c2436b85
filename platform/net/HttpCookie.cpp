#include "platform/net/HttpCookie.h"

#include <arpa/inet.h>

#include <cctype>
#include <ctime>

#include "platform/foundation/TextHelpers.h"

namespace pf {
namespace {

bool isDateDelimiter(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u == 0x09 || (u >= 0x20 && u <= 0x2f) || (u >= 0x3b && u <= 0x40) || (u >= 0x5b && u <= 0x60) ||
         (u >= 0x7b && u <= 0x7e);
}

// Leading digits of a token (at most maxDigits, at least minDigits), or -1.
int leadingNumber(std::string_view token, std::size_t minDigits, std::size_t maxDigits,
                  std::size_t* used = nullptr) {
  std::size_t n = 0;
  int value = 0;
  while (n < token.size() && n < maxDigits && std::isdigit(static_cast<unsigned char>(token[n]))) {
    value = value * 10 + (token[n] - '0');
    ++n;
  }
  if (n < minDigits || (n < token.size() && std::isdigit(static_cast<unsigned char>(token[n])))) return -1;
  if (used) *used = n;
  return value;
}

bool parseTime(std::string_view token, int& hour, int& minute, int& second) {
  int parts[3];
  for (int i = 0; i < 3; ++i) {
    std::size_t used = 0;
    parts[i] = leadingNumber(token, 1, 2, &used);
    if (parts[i] < 0) return false;
    token.remove_prefix(used);
    if (i < 2) {
      if (token.empty() || token[0] != ':') return false;
      token.remove_prefix(1);
    }
  }
  hour = parts[0];
  minute = parts[1];
  second = parts[2];
  return true;
}

// The lenient cookie date of RFC 6265 (section 5.1.1): any order of time, day, month and year.
std::optional<Date> parseCookieDate(std::string_view text) {
  static constexpr const char* kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                            "jul", "aug", "sep", "oct", "nov", "dec"};
  int hour = -1, minute = 0, second = 0, day = -1, month = -1, year = -1;
  std::size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && isDateDelimiter(text[pos])) ++pos;
    const std::size_t start = pos;
    while (pos < text.size() && !isDateDelimiter(text[pos])) ++pos;
    const std::string_view token = text.substr(start, pos - start);
    if (token.empty()) continue;
    if (hour < 0 && parseTime(token, hour, minute, second)) continue;
    if (day < 0 && (day = leadingNumber(token, 1, 2)) >= 0) continue;
    if (month < 0 && token.size() >= 3) {
      const std::string prefix = text::lowercase(token.substr(0, 3));
      for (int m = 0; m < 12; ++m) {
        if (prefix == kMonths[m]) month = m;
      }
      if (month >= 0) continue;
    }
    if (year < 0) year = leadingNumber(token, 2, 4);
  }
  if (year >= 70 && year <= 99) year += 1900;
  if (year >= 0 && year <= 69) year += 2000;
  if (hour < 0 || day < 1 || day > 31 || month < 0 || year < 1601 || hour > 23 || minute > 59 ||
      second > 59) {
    return std::nullopt;
  }
  std::tm fields{};
  fields.tm_year = year - 1900;
  fields.tm_mon = month;
  fields.tm_mday = day;
  fields.tm_hour = hour;
  fields.tm_min = minute;
  fields.tm_sec = second;
  return Date{static_cast<double>(timegm(&fields))};
}

bool isIpLiteral(const std::string& host) {
  unsigned char address[16];
  return inet_pton(AF_INET, host.c_str(), address) == 1 || inet_pton(AF_INET6, host.c_str(), address) == 1;
}

// The directory of the request path, RFC 6265 section 5.1.4.
std::string defaultPath(const Url& url) {
  const std::string& path = url.encodedPath();
  if (path.empty() || path[0] != '/') return "/";
  const std::size_t slash = path.rfind('/');
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Splits a "Set-Cookie" value holding several cookies joined by ", ", keeping the comma of an
// "Expires=Wdy, DD Mon YYYY" date inside its cookie.
std::vector<std::string> splitJoinedCookies(std::string_view joined) {
  std::vector<std::string> cookies;
  std::size_t start = 0;
  for (std::size_t i = 0; i < joined.size(); ++i) {
    if (joined[i] != ',') continue;
    const std::string_view current = joined.substr(start, i - start);
    const std::string attribute = text::trimWhitespace(current.substr(current.rfind(';') + 1));
    const bool inExpiresDate =
        text::hasPrefix(text::lowercase(attribute), "expires=") &&
        attribute.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ", 8) ==
            std::string::npos;
    std::string_view rest = joined.substr(i + 1);
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    const std::size_t equals = rest.find('=');
    const bool nextIsCookie = equals != std::string_view::npos && equals > 0 &&
                              rest.substr(0, equals).find_first_of(";, ") == std::string_view::npos;
    if (inExpiresDate || !nextIsCookie) continue;
    cookies.emplace_back(current);
    start = i + 1;
  }
  cookies.emplace_back(joined.substr(start));
  return cookies;
}

HttpCookiePtr parseCookie(std::string_view line, const Url& url, Date now) {
  std::vector<std::string> parts = text::split(line, ";");
  const std::size_t equals = parts[0].find('=');
  if (equals == std::string::npos) return nullptr;
  HttpCookie::Properties p;
  p.name = text::trimWhitespace(std::string_view(parts[0]).substr(0, equals));
  p.value = text::trimWhitespace(std::string_view(parts[0]).substr(equals + 1));
  if (p.name.empty()) return nullptr;
  const std::string host = text::lowercase(url.host());
  std::optional<std::string> domain;
  std::optional<Date> expires;
  std::optional<Date> maxAgeExpiry;
  p.path = defaultPath(url);
  for (std::size_t i = 1; i < parts.size(); ++i) {
    const std::size_t eq = parts[i].find('=');
    const std::string key = text::lowercase(text::trimWhitespace(std::string_view(parts[i]).substr(0, eq)));
    const std::string value = eq == std::string::npos
                                  ? std::string()
                                  : text::trimWhitespace(std::string_view(parts[i]).substr(eq + 1));
    if (key == "expires") {
      if (auto date = parseCookieDate(value)) expires = date;
    } else if (key == "max-age") {
      const bool negative = text::hasPrefix(value, "-");
      const std::string digits = negative ? value.substr(1) : value;
      if (digits.empty() || digits.size() > 12 || digits.find_first_not_of("0123456789") != std::string::npos)
        continue;
      const double seconds = negative ? 0 : std::stod(digits);
      maxAgeExpiry = Date{seconds <= 0 ? 0 : now.seconds + seconds};
    } else if (key == "domain" && !value.empty()) {
      domain = text::lowercase(value[0] == '.' ? value.substr(1) : value);
    } else if (key == "path") {
      if (!value.empty() && value[0] == '/') p.path = value;
    } else if (key == "secure") {
      p.secure = true;
    } else if (key == "httponly") {
      p.httpOnly = true;
    }
  }
  p.expiresDate = maxAgeExpiry ? maxAgeExpiry : expires;
  if (!domain || *domain == host) {
    p.domain = host;
  } else {
    const bool covers =
        !isIpLiteral(host) && text::hasSuffix(host, "." + *domain) && domain->find('.') != std::string::npos;
    if (!covers) return nullptr;
    p.domain = "." + *domain;
  }
  return std::make_shared<HttpCookie>(std::move(p));
}

}  // namespace

std::vector<HttpCookiePtr> HttpCookie::cookiesWithResponseHeaderFields(const Dictionary& headers,
                                                                       const Url& url) {
  std::vector<HttpCookiePtr> cookies;
  const Date now = Date::now();
  for (const auto& [name, value] : headers) {
    if (!text::equalsIgnoringCase(name, "Set-Cookie") || !value.string()) continue;
    for (const std::string& line : splitJoinedCookies(*value.string())) {
      if (HttpCookiePtr cookie = parseCookie(line, url, now)) cookies.push_back(cookie);
    }
  }
  return cookies;
}

bool HttpCookie::isSameCookie(const HttpCookie& other) const {
  return p_.name == other.p_.name && p_.path == other.p_.path &&
         text::equalsIgnoringCase(p_.domain, other.p_.domain);
}

bool HttpCookie::matches(const Url& url, Date now) const {
  if (isExpired(now) || (p_.secure && url.scheme() != "https")) return false;
  const std::string host = text::lowercase(url.host());
  const std::string domain = text::lowercase(p_.domain);
  const bool domainMatches =
      domain.starts_with(".") ? host == domain.substr(1) || text::hasSuffix(host, domain) : host == domain;
  if (!domainMatches) return false;
  const std::string path = url.encodedPath().empty() ? "/" : url.encodedPath();
  if (path == p_.path) return true;
  return text::hasPrefix(path, p_.path) && (p_.path.ends_with('/') || path[p_.path.size()] == '/');
}

}  // namespace pf
