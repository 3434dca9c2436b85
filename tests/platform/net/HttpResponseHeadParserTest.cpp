#include "platform/net/HttpResponseHeadParser.h"

#include <gtest/gtest.h>

namespace pf {
namespace {

using HeadState = HttpResponseHeadParser::State;

TEST(HttpResponseHeadParserTest, ReadsAHeadArrivingInAnyPieces) {
  const std::string head =
      "HTTP/1.1 100 Continue\r\n\r\n"
      "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nX-Folded: a\r\n  b\r\nEmpty:\r\n\r\n";
  for (std::size_t piece : {std::size_t{1}, std::size_t{7}, head.size() + 5}) {
    SCOPED_TRACE(piece);
    HttpResponseHeadParser parser;
    const std::string bytes = head + "hello";
    std::size_t taken = 0;
    while (parser.state() == HeadState::NeedMore && taken < bytes.size()) {
      taken += parser.feed(std::string_view(bytes).substr(taken, piece));
    }
    ASSERT_EQ(parser.state(), HeadState::Complete);
    EXPECT_EQ(taken, head.size());  // the body is left alone
    const auto& response = parser.response();
    EXPECT_EQ(response->statusCode(), 200);
    EXPECT_EQ(response->statusLine(), "HTTP/1.1 200 OK");
    EXPECT_EQ(response->version(), HttpMessage::kVersion1_1);
    EXPECT_EQ(response->headerField("content-length"), "5");
    EXPECT_EQ(response->headerField("X-Folded"), "a b");
    EXPECT_EQ(response->headerField("Empty"), "");
  }
  HttpResponseHeadParser bare;
  bare.feed("HTTP/1.0 404\nA: b\n\n");
  ASSERT_EQ(bare.state(), HeadState::Complete);
  EXPECT_EQ(bare.response()->statusCode(), 404);
}

TEST(HttpResponseHeadParserTest, FailsOnMalformedOrOversizedHeads) {
  std::string manyFields = "HTTP/1.1 200 OK\r\n";
  for (std::size_t i = 0; i <= HttpResponseHeadParser::kMaxFieldCount; ++i) manyFields += "X: y\r\n";
  std::string manyInterim;
  for (int i = 0; i <= HttpResponseHeadParser::kMaxInterimHeads; ++i)
    manyInterim += "HTTP/1.1 102 Processing\r\n\r\n";
  const std::pair<const char*, std::string> cases[] = {
      {"not http", "ICY 200 OK\r\n\r\n"},
      {"version", "HTTP/2.0 200 OK\r\n\r\n"},
      {"status", "HTTP/1.1 2x0 OK\r\n\r\n"},
      {"control in status line", std::string("HTTP/1.1 200 O\0K\r\n\r\n", 20)},
      {"field without colon", "HTTP/1.1 200 OK\r\nNoColon\r\n\r\n"},
      {"space before colon", "HTTP/1.1 200 OK\r\nName : v\r\n\r\n"},
      {"bare CR in value", "HTTP/1.1 200 OK\r\nName: a\rb\r\n\r\n"},
      {"fold with nothing to fold", "HTTP/1.1 200 OK\r\n x\r\n\r\n"},
      {"protocol switch", "HTTP/1.1 101 Switching Protocols\r\n\r\n"},
      {"too many fields", manyFields},
      {"too many interim heads", manyInterim},
      {"head too long", "HTTP/1.1 200 OK\r\nX: " + std::string(HttpResponseHeadParser::kMaxHeadBytes, 'a')},
  };
  for (const auto& [what, bytes] : cases) {
    SCOPED_TRACE(what);
    HttpResponseHeadParser parser;
    parser.feed(bytes);
    EXPECT_EQ(parser.state(), HeadState::Failed);
    EXPECT_FALSE(parser.failure().empty());
    EXPECT_FALSE(parser.response());
  }
}

}  // namespace
}  // namespace pf
