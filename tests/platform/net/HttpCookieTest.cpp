#include "platform/net/HttpCookie.h"

#include <gtest/gtest.h>

#include "platform/net/HttpCookieStorage.h"
#include "tests/support/TemporaryFolder.h"

namespace pf {
namespace {

std::vector<HttpCookiePtr> parse(const std::string& setCookie,
                                 const char* url = "http://www.example.com/dir/page") {
  return HttpCookie::cookiesWithResponseHeaderFields({{"Set-Cookie", setCookie}}, *Url::parse(url));
}

TEST(HttpCookieTest, ReadsSetCookieFields) {
  struct Case {
    const char* setCookie;
    const char* name;
    const char* value;
    const char* domain;
    const char* path;
    bool session;
    bool secure;
  };
  const Case cases[] = {
      {"a=1", "a", "1", "www.example.com", "/dir", true, false},
      {" sid = x y ; Path=/ ; Secure; HttpOnly", "sid", "x y", "www.example.com", "/", true, true},
      {"a=1; Domain=.Example.COM; Path=relative", "a", "1", ".example.com", "/dir", true, false},
      {"a=1; Domain=www.example.com", "a", "1", "www.example.com", "/dir", true, false},
      {"a=1; Expires=Wed, 21 Oct 2037 07:28:00 GMT", "a", "1", "www.example.com", "/dir", false, false},
      {"a=1; Max-Age=3600", "a", "1", "www.example.com", "/dir", false, false},
      {"a=\"quoted\"; Expires=not a date", "a", "\"quoted\"", "www.example.com", "/dir", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.setCookie);
    auto cookies = parse(c.setCookie);
    ASSERT_EQ(cookies.size(), 1u);
    EXPECT_EQ(cookies[0]->name(), c.name);
    EXPECT_EQ(cookies[0]->value(), c.value);
    EXPECT_EQ(cookies[0]->domain(), c.domain);
    EXPECT_EQ(cookies[0]->path(), c.path);
    EXPECT_EQ(cookies[0]->isSessionOnly(), c.session);
    EXPECT_EQ(cookies[0]->isSecure(), c.secure);
  }
  EXPECT_EQ(parse("a=1; Expires=Sun, 06 Nov 1994 08:49:37 GMT")[0]->expiresDate()->seconds, 784111777);
  EXPECT_EQ(parse("a=1; Expires=Sunday, 06-Nov-94 08:49:37 GMT")[0]->expiresDate()->seconds, 784111777);
  EXPECT_TRUE(parse("a=1; Max-Age=0; Expires=Wed, 21 Oct 2037 07:28:00 GMT")[0]->isExpired(Date::now()));
}

TEST(HttpCookieTest, LeavesOutCookiesAServerMayNotSet) {
  for (const char* setCookie :
       {"novalue", "=1", "a=1; Domain=other.com", "a=1; Domain=com", "a=1; Domain=le.com"}) {
    SCOPED_TRACE(setCookie);
    EXPECT_TRUE(parse(setCookie).empty());
  }
  EXPECT_TRUE(parse("a=1; Domain=0.0.1", "http://127.0.0.1/").empty());
}

TEST(HttpCookieTest, SplitsSeveralCookiesJoinedInOneField) {
  auto cookies = parse("a=1; Expires=Wed, 21 Oct 2037 07:28:00 GMT, b=2; Path=/, c=3");
  ASSERT_EQ(cookies.size(), 3u);
  EXPECT_EQ(cookies[0]->name(), "a");
  EXPECT_FALSE(cookies[0]->isSessionOnly());
  EXPECT_EQ(cookies[1]->name(), "b");
  EXPECT_EQ(cookies[1]->path(), "/");
  EXPECT_EQ(cookies[2]->name(), "c");
}

TEST(HttpCookieTest, MatchesUrlsByDomainPathSchemeAndExpiry) {
  const Date now = Date::now();
  HttpCookie hostOnly({"a", "1", "example.com", "/docs", std::nullopt, false, false});
  HttpCookie wide({"b", "2", ".example.com", "/", std::nullopt, false, false});
  HttpCookie secure({"c", "3", "example.com", "/", std::nullopt, true, false});
  HttpCookie expired({"d", "4", "example.com", "/", Date{now.seconds - 1}, false, false});
  const struct {
    const HttpCookie& cookie;
    const char* url;
    bool matches;
  } cases[] = {
      {hostOnly, "http://example.com/docs", true},   {hostOnly, "http://EXAMPLE.com/docs/x", true},
      {hostOnly, "http://example.com/docsx", false}, {hostOnly, "http://www.example.com/docs", false},
      {wide, "http://www.example.com/", true},       {wide, "http://example.com", true},
      {wide, "http://badexample.com/", false},       {secure, "http://example.com/", false},
      {secure, "https://example.com/", true},        {expired, "http://example.com/", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cookie.name() + std::string(" ") + c.url);
    EXPECT_EQ(c.cookie.matches(*Url::parse(c.url), now), c.matches);
  }
}

TEST(HttpCookieStorageTest, ReplacesFindsAndForgetsCookies) {
  HttpCookieStorage storage;
  const Url url = *Url::parse("http://example.com/a/b");
  storage.setCookies(parse("x=1; Path=/", "http://example.com/"));
  storage.setCookies(parse("y=2; Path=/a", "http://example.com/"));
  storage.setCookies(parse("x=3; Path=/", "http://example.com/"));  // same name, domain and path
  auto found = storage.cookiesForURL(url);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0]->name(), "y");  // the longer path first
  EXPECT_EQ(found[1]->value(), "3");
  storage.setCookies(parse("y=2; Path=/a; Max-Age=0", "http://example.com/"));
  EXPECT_EQ(storage.cookiesForURL(url).size(), 1u);
  storage.deleteCookie(found[1]);
  EXPECT_TRUE(storage.cookies().empty());
}

TEST(HttpCookieStorageTest, KeepsPersistentCookiesAcrossStartsButNotSessionOnes) {
  pf_test::TemporaryFolder folder;
  const std::string file = folder.file("Cookies/Cookies.plist");
  {
    HttpCookieStorage storage(file);
    storage.setCookies(parse("session=1; Path=/", "https://example.com/"));
    storage.setCookies(parse("kept=2; Path=/; Secure; Max-Age=3600", "https://example.com/"));
  }
  HttpCookieStorage restarted(file);
  auto cookies = restarted.cookies();
  ASSERT_EQ(cookies.size(), 1u);
  EXPECT_EQ(cookies[0]->name(), "kept");
  EXPECT_TRUE(cookies[0]->isSecure());
  EXPECT_FALSE(cookies[0]->isSessionOnly());
}

}  // namespace
}  // namespace pf
