#include "platform/net/HttpBodyDecoder.h"

#include <gtest/gtest.h>

namespace pf {
namespace {

using State = HttpBodyDecoder::State;

std::shared_ptr<HttpMessage> head(std::vector<HttpMessage::Field> fields, int status = 200) {
  return HttpMessage::makeResponse("HTTP/1.1", status, "HTTP/1.1", std::move(fields));
}

// Feeds the bytes in pieces of the given size; answers the body and how many bytes were taken.
std::pair<std::string, std::size_t> decode(HttpBodyDecoder& decoder, std::string_view bytes,
                                           std::size_t piece) {
  std::string body;
  std::size_t taken = 0;
  while (decoder.state() == State::Reading && taken < bytes.size()) {
    const std::size_t size = std::min(piece, bytes.size() - taken);
    const std::size_t used = decoder.feed(bytes.substr(taken, size), body);
    taken += used;
    if (used < size) break;
  }
  return {body, taken};
}

TEST(HttpBodyDecoderTest, TakesTheFramingOffWholeBodies) {
  struct Case {
    const char* what;
    std::vector<HttpMessage::Field> fields;
    std::string framed;
    std::string body;
    std::size_t taken;
  };
  const Case cases[] = {
      {"length", {{"Content-Length", "5"}}, "hellotrailing", "hello", 5},
      {"repeated equal lengths", {{"Content-Length", "3, 3"}, {"content-length", "3"}}, "abcd", "abc", 3},
      {"chunked",
       {{"Transfer-Encoding", "Chunked"}},
       "5;ext=1\r\nhello\r\n1\r\n \r\nA \r\n0123456789\r\n0\r\nTrailer: x\r\n\r\nnext",
       "hello 0123456789",
       55},
      {"chunked with bare line feeds", {{"Transfer-Encoding", "chunked"}}, "3\nabc\n0\n\n", "abc", 9},
  };
  for (const Case& c : cases) {
    for (std::size_t piece : {std::size_t{1}, std::size_t{4}, c.framed.size()}) {
      SCOPED_TRACE(std::string(c.what) + " in pieces of " + std::to_string(piece));
      HttpBodyDecoder decoder(*head(c.fields), false);
      auto [body, taken] = decode(decoder, c.framed, piece);
      EXPECT_EQ(decoder.state(), State::Done);
      EXPECT_EQ(body, c.body);
      EXPECT_EQ(taken, c.taken);
    }
  }
}

TEST(HttpBodyDecoderTest, KnowsWhichAnswersHaveNoBodyAndWhichEndAtTheClose) {
  EXPECT_EQ(HttpBodyDecoder(*head({{"Content-Length", "9"}}), true).state(), State::Done);
  EXPECT_EQ(HttpBodyDecoder(*head({}, 204), false).state(), State::Done);
  EXPECT_EQ(HttpBodyDecoder(*head({}, 304), false).state(), State::Done);
  EXPECT_EQ(HttpBodyDecoder(*head({{"Content-Length", "0"}}), false).state(), State::Done);

  HttpBodyDecoder untilClose(*head({}), false);
  EXPECT_EQ(untilClose.framing(), HttpBodyDecoder::Framing::UntilClose);
  std::string body;
  untilClose.feed("all of it", body);
  untilClose.finish();
  EXPECT_EQ(untilClose.state(), State::Done);
  EXPECT_EQ(body, "all of it");

  HttpBodyDecoder cutShort(*head({{"Content-Length", "10"}}), false);
  cutShort.feed("abc", body);
  cutShort.finish();
  EXPECT_EQ(cutShort.state(), State::Failed);
}

TEST(HttpBodyDecoderTest, RefusesFramingAHostileServerCouldAbuse) {
  const std::pair<std::vector<HttpMessage::Field>, std::string> cases[] = {
      {{{"Content-Length", "12abc"}}, ""},
      {{{"Content-Length", "-1"}}, ""},
      {{{"Content-Length", "+5"}}, ""},
      {{{"Content-Length", ""}}, ""},
      {{{"Content-Length", "99999999999999999999"}}, ""},
      {{{"Content-Length", "5"}, {"Content-Length", "6"}}, ""},
      {{{"Transfer-Encoding", "gzip"}}, ""},
      {{{"Transfer-Encoding", "chunked"}, {"Content-Length", "5"}}, ""},
      {{{"Transfer-Encoding", "chunked"}}, "zz\r\nhello\r\n0\r\n\r\n"},
      {{{"Transfer-Encoding", "chunked"}}, "\r\nhello\r\n"},
      {{{"Transfer-Encoding", "chunked"}}, "-5\r\nhello\r\n"},
      {{{"Transfer-Encoding", "chunked"}}, "fffffffffffffffff\r\n"},
      {{{"Transfer-Encoding", "chunked"}}, "5\r\nhelloXX0\r\n\r\n"},
      {{{"Transfer-Encoding", "chunked"}}, std::string(2000, '1')},
      {{{"Transfer-Encoding", "chunked"}}, "0\r\n" + std::string(20000, 'x')},
  };
  for (const auto& [fields, framed] : cases) {
    SCOPED_TRACE(fields[0].value + " / " + framed.substr(0, 20));
    HttpBodyDecoder decoder(*head(fields), false);
    std::string body;
    decoder.feed(framed, body);
    EXPECT_EQ(decoder.state(), State::Failed);
    EXPECT_FALSE(decoder.failure().empty());
  }
}

}  // namespace
}  // namespace pf
