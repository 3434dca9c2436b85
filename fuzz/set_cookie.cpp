// "Set-Cookie" fields: one or several cookies joined by ", ", their dates, Max-Age, Domain, Path and
// flags, as set by a response from a URL. Every cookie kept must belong to the URL's host and must not
// carry a separator that would split the "Cookie" header it is sent back in.
// Input: the URL on the first line (a fixed one when it does not parse), then the field value.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/foundation/TextHelpers.h"
#include "platform/net/HttpCookie.h"

namespace {

void check(bool ok, const char* what, const pf::HttpCookie& cookie) {
  if (ok) return;
  std::fprintf(stderr, "%s: %s=%s domain %s path %s\n", what, cookie.name().c_str(), cookie.value().c_str(),
               cookie.domain().c_str(), cookie.path().c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(bytes), size);
  const std::size_t end = input.find('\n');
  std::optional<pf::Url> url = pf::Url::parse(input.substr(0, end));
  std::string_view value = input;
  if (url && end != std::string_view::npos) value = input.substr(end + 1);
  if (!url) url = pf::Url::parse("https://www.example.org/dir/page");

  const pf::Dictionary headers{{"Set-Cookie", pf::Value(std::string(value))}};
  const std::string host = pf::text::lowercase(url->host());
  const pf::Date now = pf::Date::now();
  for (const pf::HttpCookiePtr& cookie : pf::HttpCookie::cookiesWithResponseHeaderFields(headers, *url)) {
    check(!cookie->name().empty(), "cookie without a name", *cookie);
    check(cookie->name().find_first_of(";=") == std::string::npos, "separator in the name", *cookie);
    check(cookie->value().find(';') == std::string::npos, "separator in the value", *cookie);
    const std::string& domain = cookie->domain();
    check(domain == host || (domain.starts_with('.') && pf::text::hasSuffix(host, domain)),
          "domain does not cover the host", *cookie);
    (void)cookie->matches(*url, now);
    (void)cookie->isSameCookie(*cookie);
  }
  return 0;
}
