#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/net/UrlContents.h"
#include "tests/support/TemporaryFolder.h"
#include "tools/devserver/Answers.h"
#include "tools/devserver/DevServer.h"

namespace {

using pf::UrlContents;

std::string asText(const UrlContents::Result& result) {
  return result.data ? std::string(result.data->begin(), result.data->end()) : "<none>";
}

TEST(UrlContentsTest, ReadsFilesAndHttpAnswersWhole) {
  pf_test::TemporaryFolder folder;
  const std::string path = folder.path() + "/a picture.bin";
  std::ofstream(path, std::ios::binary) << std::string("\x89PNG\0bytes", 10);
  const auto file = UrlContents::read("file://" + folder.path() + "/a%20picture.bin");
  ASSERT_FALSE(file.error) << file.error->description();
  EXPECT_EQ(file.data->size(), 10u);

  devserver::DevServer server;
  const std::string big(100000, 'x');
  server.route("/big", devserver::answers::chunked({big.substr(0, 40000), big.substr(40000)}));
  ASSERT_TRUE(server.start());
  const auto http = UrlContents::read(server.url("/big"));
  ASSERT_FALSE(http.error) << http.error->description();
  EXPECT_EQ(asText(http), big);
}

TEST(UrlContentsTest, EveryFailureIsAnErrorWithoutData) {
  devserver::DevServer server;
  server.route("/stalled", devserver::answers::stall(3));
  ASSERT_TRUE(server.start());
  struct Case {
    std::string url;
    long code;
  };
  const Case cases[] = {
      {"file:///no/such/file.png", UrlContents::kReadNoSuchFile},
      {"ftp://127.0.0.1/x.png", UrlContents::kReadUnsupportedScheme},
      {"not a url", UrlContents::kReadUnsupportedScheme},
      {server.url("/missing"), UrlContents::kReadUnknown},
      {"http://127.0.0.1:1/refused.png", UrlContents::kReadUnknown},
  };
  for (const auto& c : cases) {
    const auto result = UrlContents::read(c.url, 5);
    EXPECT_FALSE(result.data) << c.url;
    ASSERT_TRUE(result.error) << c.url;
    EXPECT_EQ(result.error->domain(), UrlContents::kErrorDomain) << c.url;
    EXPECT_EQ(result.error->code(), c.code) << c.url;
  }
  const auto stalled = UrlContents::read(server.url("/stalled"), 0.3);
  ASSERT_TRUE(stalled.error) << "a server that never answers ends in the time-out";
  ASSERT_TRUE(stalled.error->underlyingError());
  EXPECT_EQ(stalled.error->underlyingError()->code(), 60);
}

}  // namespace
