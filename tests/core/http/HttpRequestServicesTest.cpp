#include <gtest/gtest.h>

#include <cmath>
#include <regex>

#include "core/http/HttpRequest.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/PropertyList.h"
#include "tests/core/http/HttpRequestFixture.h"

namespace {

using HttpRequestServicesTest = HttpRequestFixture;

TEST_F(HttpRequestServicesTest, BuildsTheDefaultUserAgentFromTheBundle) {
  const struct {
    pf::Dictionary info;
    std::optional<std::string> prefix;
  } cases[] = {
      {{{"CFBundleDisplayName", "Marlune"},
        {"CFBundleName", "Other"},
        {"CFBundleShortVersionString", "2.1"},
        {"CFBundleVersion", "2.1.7"}},
       "Marlune 2.1 rv:2.1.7 ("},
      {{{"CFBundleName", "Marlune"}, {"CFBundleShortVersionString", "2.1"}, {"CFBundleVersion", "2.1"}},
       "Marlune 2.1 ("},
      {{{"CFBundleName", "Marlune"}, {"CFBundleVersion", "7"}}, "Marlune 7 ("},
      {{{"CFBundleName", "学习"}, {"CFBundleShortVersionString", "3"}}, "学习 3 ("},
      {{{"CFBundleVersion", "7"}}, std::nullopt},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.prefix.value_or("no name"));
    const std::string bundle = home.file("bundle" + std::to_string(n++));
    std::filesystem::create_directories(bundle);
    ASSERT_TRUE(pf::PropertyList::writeToFile(pf::Value(c.info), bundle + "/Info.plist",
                                              pf::PropertyList::Format::Xml));
    pf::Bundle::setMainBundlePath(bundle);
    HttpRequest::setDefaultUserAgentString(std::nullopt);
    const std::optional<std::string> agent = HttpRequest::defaultUserAgentString();
    ASSERT_EQ(agent.has_value(), c.prefix.has_value());
    if (!agent) continue;
    EXPECT_TRUE(agent->starts_with(*c.prefix)) << *agent;
    // The device part: "(model; system version; locale)".
    EXPECT_TRUE(std::regex_search(*agent, std::regex(R"( \([^;()]+; [^;()]+ [^;()]+; [A-Za-z_]+\)$)")))
        << *agent;
  }
  pf::Bundle::setMainBundlePath("");
}

TEST_F(HttpRequestServicesTest, ReadsHttpDatesWithAndWithoutWeekdayAndSeconds) {
  const std::pair<const char*, std::optional<double>> cases[] = {
      {"Sun, 06 Nov 1994 08:49:37 GMT", 784111777},
      {"06 Nov 1994 08:49 GMT", 784111740},
      {"Sun, 06 Nov 1994 08:49 GMT", 784111740},
      {"06 Nov 1994 08:49:37 GMT", 784111777},
      {"sun, 06 nov 1994 08:49:37 utc", 784111777},
      {"Sun, 06 Nov 1994 00:49:37 PST", 784111777},
      {"Sun, 06 Nov 1994 16:49:37 GMT+0800", 784111777},
      {"Sun, 06 Nov 1994 16:49:37 GMT+8", 784111777},
      {"Sun, 06 Nov 1994 16:49:37 GMT+08:00", std::nullopt},
      {"Sunday, 06-Nov-94 08:49:37 GMT", std::nullopt},
      {"Sun Nov  6 08:49:37 1994", std::nullopt},
      {"Sun, 06 Nov 1994 08:49:37", std::nullopt},
      {"Sun, 32 Nov 1994 08:49:37 GMT", std::nullopt},
      {"Sun, 06 Nov 1994 25:49:37 GMT", std::nullopt},
      {"Sun, 06 Nov 1994 08:49:37 Mars", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& [text, seconds] : cases) {
    SCOPED_TRACE(text);
    const std::optional<pf::Date> date = HttpRequest::dateFromRFC1123String(text);
    ASSERT_EQ(date.has_value(), seconds.has_value());
    if (date) {
      EXPECT_EQ(date->seconds, *seconds);
    }
  }
}

TEST_F(HttpRequestServicesTest, ParsesContentTypesAndTheirCharsets) {
  const auto untouched = pf::StringEncoding::KOI8R;
  const struct {
    std::optional<std::string> contentType;
    std::optional<std::string> mimeType;
    pf::StringEncoding encoding;
  } cases[] = {
      {"text/html; charset=utf-8", "text/html", pf::StringEncoding::UTF8},
      {"text/html", "text/html", untouched},
      {" application/json ;charset=ISO-8859-1", "application/json", pf::StringEncoding::ISOLatin1},
      {"text/plain; format=flowed; Charset=GBK; x=y", "text/plain", pf::StringEncoding::GB18030},
      {"text/plain; charset=\"us-ascii\"", "text/plain", pf::StringEncoding::ASCII},
      {"text/plain; charset=no-such-set", "text/plain", untouched},
      {"text/plain; name=x", "text/plain", untouched},
      {std::nullopt, "unchanged", untouched},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.contentType.value_or("nil"));
    std::optional<std::string> mimeType = "unchanged";
    pf::StringEncoding encoding = untouched;
    HttpRequest::parseMimeType(&mimeType, &encoding, c.contentType);
    EXPECT_EQ(mimeType, c.mimeType);
    EXPECT_EQ(encoding, c.encoding);
  }
  HttpRequest::parseMimeType(nullptr, nullptr, "text/html; charset=utf-8");  // outputs are optional
}

TEST_F(HttpRequestServicesTest, NamesTheMimeTypeOfExistingFiles) {
  const std::pair<const char*, std::optional<std::string>> cases[] = {
      {"photo.jpg", "image/jpeg"},
      {"Report.PDF", "application/pdf"},
      {"movie.mp4", "video/mp4"},
      {"data.bin", "application/octet-stream"},
      {"noextension", "application/octet-stream"},
  };
  for (const auto& [name, type] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(HttpRequest::mimeTypeForFileAtPath(writeFile(name, 1)), type);
  }
  EXPECT_FALSE(HttpRequest::mimeTypeForFileAtPath(home.file("absent.jpg")));
}

TEST_F(HttpRequestServicesTest, WorksOutWhenAResponseExpires) {
  const double now = pf::Date::now().seconds;
  const struct {
    pf::Dictionary headers;
    double maxAge;
    std::optional<double> expiresIn;  // seconds from now; for a fixed date, the date itself
    bool fixed;
  } cases[] = {
      {{{"Cache-Control", "public, Max-Age = 600"}}, 0, 600, false},
      {{{"Cache-Control", "max-age=600"}}, 30, 30, false},
      {{{"Expires", "Sun, 06 Nov 1994 08:49:37 GMT"}}, 0, 784111777, true},
      {{{"cache-control", "no-cache"}, {"Expires", "Sun, 06 Nov 1994 08:49:37 GMT"}}, 0, 784111777, true},
      {{{"Cache-Control", "no-store"}}, 0, std::nullopt, false},
      {{}, 0, std::nullopt, false},
  };
  for (const auto& c : cases) {
    auto r = request();
    r->responseHeaders.set(c.headers);
    const std::optional<pf::Date> expiry = HttpRequest::expiryDateForRequest(*r, c.maxAge);
    ASSERT_EQ(expiry.has_value(), c.expiresIn.has_value());
    if (!expiry) continue;
    const double expected = c.fixed ? *c.expiresIn : now + *c.expiresIn;
    EXPECT_NEAR(expiry->seconds, expected, 5);
  }
}

TEST_F(HttpRequestServicesTest, KeepsOneSessionCookiePerDomainPathAndName) {
  auto cookie = [](const char* name, const char* value, const char* path) {
    return std::make_shared<pf::HttpCookie>(
        pf::HttpCookie::Properties{name, value, "example.com", path, std::nullopt, false, false});
  };
  HttpRequest::addSessionCookie(cookie("a", "1", "/"));
  HttpRequest::addSessionCookie(cookie("b", "2", "/"));
  HttpRequest::addSessionCookie(cookie("a", "3", "/"));
  HttpRequest::addSessionCookie(cookie("a", "4", "/other"));
  const HttpRequest::Cookies session = HttpRequest::sessionCookies();
  ASSERT_EQ(session.size(), 3u);
  EXPECT_EQ(session[0]->name(), "b");
  EXPECT_EQ(session[1]->value(), "3");
  EXPECT_EQ(session[2]->path(), "/other");

  auto storage = pf::HttpCookieStorage::sharedHTTPCookieStorage();
  storage->setCookies(session);
  storage->setCookie(cookie("kept", "5", "/"));
  HttpRequest::clearSession();
  EXPECT_TRUE(HttpRequest::sessionCookies().empty());
  ASSERT_EQ(storage->cookies().size(), 1u);
  EXPECT_EQ(storage->cookies()[0]->name(), "kept");
}

TEST_F(HttpRequestServicesTest, EncodesBase64WithPadding) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"user:pässword", "dXNlcjpww6Rzc3dvcmQ="}};
  for (const auto& [text, encoded] : cases) {
    EXPECT_EQ(HttpRequest::base64forData(pf::Data(text.begin(), text.end())), encoded);
  }
}

}  // namespace
