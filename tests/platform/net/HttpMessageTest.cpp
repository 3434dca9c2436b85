#include "platform/net/HttpMessage.h"

#include <gtest/gtest.h>

namespace pf {
namespace {

std::shared_ptr<HttpMessage> request(const char* url, const char* method = "GET",
                                     const char* version = HttpMessage::kVersion1_1) {
  return HttpMessage::makeRequest(method, *Url::parse(url), version);
}

TEST(HttpMessageTest, SerialisesTheRequestHeadInOrder) {
  auto message = request("http://127.0.0.1:8080/a/b?x=1", "POST");
  ASSERT_TRUE(message);
  EXPECT_TRUE(message->setHeaderField("Content-Type", "application/json"));
  EXPECT_TRUE(message->setHeaderField("X-Two", "2"));
  EXPECT_TRUE(message->setHeaderField("content-type", "text/plain"));  // replaces, whatever the case
  EXPECT_EQ(message->serializedHead({{"Content-Length", "3"}}),
            "POST /a/b?x=1 HTTP/1.1\r\nHost: 127.0.0.1:8080\r\nX-Two: 2\r\ncontent-type: text/plain\r\n"
            "Content-Length: 3\r\n\r\n");
  EXPECT_EQ(message->headerField("CONTENT-TYPE"), "text/plain");

  auto own = request("http://h/", "GET", HttpMessage::kVersion1_0);
  own->setHeaderField("Host", "other");
  EXPECT_EQ(own->serializedHead(), "GET / HTTP/1.0\r\nHost: other\r\n\r\n");
}

TEST(HttpMessageTest, RefusesFieldsThatWouldBreakTheMessage) {
  auto message = request("http://h/");
  const std::pair<std::string, std::string> refused[] = {
      {"X-Evil", "a\r\nX-Injected: 1"},
      {"X-Evil", "a\nb"},
      {"X-Evil", "a\rb"},
      {"X-Evil", std::string("a\0b", 3)},
      {"X-Evil\r\nX-Injected", "1"},
      {"Bad Name", "1"},
      {"Bad:Name", "1"},
      {"", "1"},
  };
  for (const auto& [name, value] : refused) {
    SCOPED_TRACE(name + "=" + value);
    EXPECT_FALSE(message->setHeaderField(name, value));
  }
  EXPECT_TRUE(message->headerFields().empty());
  EXPECT_FALSE(HttpMessage::makeRequest("GE T", *Url::parse("http://h/")));
  EXPECT_FALSE(HttpMessage::makeRequest("GET", *Url::parse("http://h/"), "HTTP/2"));
}

TEST(HttpMessageTest, ReportsReceivedFieldsUnderCanonicalNames) {
  auto response = HttpMessage::makeResponse(
      "HTTP/1.1", 200, "HTTP/1.1 200 OK",
      {{"content-length", "5"}, {"SET-COOKIE", "a=1"}, {"set-cookie", "b=2"}, {"ETAG", "\"x\""}});
  const Dictionary all = response->allHeaderFields();
  EXPECT_EQ(all.at("Content-Length"), Value("5"));
  EXPECT_EQ(all.at("Set-Cookie"), Value("a=1, b=2"));
  EXPECT_EQ(all.at("Etag"), Value("\"x\""));
  EXPECT_EQ(response->headerField("Set-Cookie"), "a=1, b=2");
}

}  // namespace
}  // namespace pf
