// Requests built by HttpRequest, sent through the platform transport to the loopback server: what
// arrives is what the engine means to send.

#include <gtest/gtest.h>
#include <zlib.h>

#include "core/http/HttpRequest.h"
#include "platform/net/DataInputStream.h"
#include "platform/net/FileInputStream.h"
#include "platform/net/HttpReadStream.h"
#include "tests/core/http/HttpRequestFixture.h"
#include "tests/platform/net/StreamRun.h"
#include "tools/devserver/DevServer.h"

namespace {

class HttpRequestWireTest : public HttpRequestFixture {
 protected:
  void SetUp() override {
    HttpRequestFixture::SetUp();
    server.route("/api/*", [](devserver::Exchange& e) { e.respond(200, "{\"ok\":true}"); });
    ASSERT_TRUE(server.start());
  }

  // Builds the request and sends it as the engine will: its headers on the message, its body as a stream.
  pf_test::StreamRun send(HttpRequest& r) {
    r.buildPostBody();
    r.buildRequestHeaders();
    auto message = pf::HttpMessage::makeRequest(r.requestMethod(), *r.url(),
                                                r.useHTTPVersionOne ? "HTTP/1.0" : "HTTP/1.1");
    for (const auto& [name, value] : r.requestHeaders.get().value_or(pf::Dictionary{})) {
      EXPECT_TRUE(message->setHeaderField(name, *value.string()));
    }
    std::shared_ptr<pf::InputStream> body;
    if (r.compressedPostBodyFilePath) {
      body = std::make_shared<pf::FileInputStream>(*r.compressedPostBodyFilePath);
    } else if (const auto data = r.postBody.get(); data && !data->empty()) {
      body = std::make_shared<pf::DataInputStream>(*data);
    }
    auto stream = pf::HttpReadStream::make(message, body);
    stream->setAttemptPersistentConnection(r.shouldAttemptPersistentConnection);
    stream->setStreamId(1);
    return pf_test::runStream(stream);
  }

  devserver::DevServer server;
};

TEST_F(HttpRequestWireTest, AGetCarriesTheEngineHeadersAndTheStoredCookies) {
  const pf::Url url = *pf::Url::parse(server.url("/api/courses?page=2"));
  pf::HttpCookieStorage::sharedHTTPCookieStorage()->setCookies(
      pf::HttpCookie::cookiesWithResponseHeaderFields({{"Set-Cookie", "sid=42; Path=/api"}}, url));
  auto get = HttpRequest::requestWithURL(url);
  EXPECT_EQ(send(*get).body, "{\"ok\":true}");

  const devserver::Request received = server.requests().back();
  EXPECT_EQ(received.method, "GET");
  EXPECT_EQ(received.target, "/api/courses?page=2");
  EXPECT_EQ(received.header("User-Agent"), "TestAgent/1");
  EXPECT_EQ(received.header("Accept-Encoding"), "gzip");
  EXPECT_EQ(received.header("Cookie"), "sid=42");
  EXPECT_FALSE(received.header("Content-Length"));
  EXPECT_FALSE(received.header("Connection"));  // a GET keeps its connection
  EXPECT_TRUE(received.body.empty());
}

TEST_F(HttpRequestWireTest, ARemoteCallPostsItsJsonBodyOnAConnectionOfItsOwn) {
  auto post = request(server.url("/api/call"));
  post->setRequestMethod("POST");
  post->timeOutSeconds = 30;
  post->addRequestHeader("Content-Type", "application/json");
  const std::string json = "{\"method\":\"login\"}";
  post->postBody.set(pf::Data(json.begin(), json.end()));
  send(*post);

  const devserver::Request received = server.requests().back();
  EXPECT_EQ(received.method, "POST");
  EXPECT_EQ(received.header("Content-Type"), "application/json");
  EXPECT_EQ(received.header("Content-Length"), std::to_string(json.size()));
  EXPECT_EQ(received.header("Accept-Encoding"), "gzip");
  EXPECT_EQ(received.header("User-Agent"), "TestAgent/1");
  EXPECT_EQ(received.header("Connection"), "close");
  EXPECT_EQ(received.body, json);
}

TEST_F(HttpRequestWireTest, ACompressedFileBodyArrivesAsGzipWithItsLength) {
  auto upload = request(server.url("/api/upload"));
  upload->postBodyFilePath.set(writeFile("upload", 50000));
  upload->shouldCompressRequestBody = true;
  send(*upload);

  const devserver::Request received = server.requests().back();
  EXPECT_EQ(received.method, "POST");
  EXPECT_EQ(received.header("Content-Encoding"), "gzip");
  EXPECT_EQ(received.header("Content-Length"), std::to_string(received.body.size()));
  std::string inflated(60000, '\0');
  uLongf size = inflated.size();
  z_stream z{};
  inflateInit2(&z, 31);
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(received.body.data()));
  z.avail_in = static_cast<uInt>(received.body.size());
  z.next_out = reinterpret_cast<Bytef*>(inflated.data());
  z.avail_out = static_cast<uInt>(size);
  EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END);
  EXPECT_EQ(z.total_out, 50000u);
  inflateEnd(&z);
}

}  // namespace
