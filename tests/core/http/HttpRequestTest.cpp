#include "core/http/HttpRequest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/foundation/Bundle.h"
#include "tests/core/http/HttpRequestFixture.h"

namespace {

using HttpRequestTest = HttpRequestFixture;

TEST_F(HttpRequestTest, StartsWithTheDocumentedDefaults) {
  HttpRequest::setDefaultTimeOutSeconds(30);
  auto configured = request();
  HttpRequest::setDefaultTimeOutSeconds(10);
  EXPECT_EQ(configured->timeOutSeconds.load(), 30);

  auto r = request();
  EXPECT_EQ(r->requestMethod(), "GET");
  EXPECT_EQ(r->url()->absoluteString(), "http://127.0.0.1/path");
  EXPECT_EQ(r->runLoopMode, pf::RunLoop::kDefaultMode);
  EXPECT_EQ(r->timeOutSeconds.load(), 10);
  EXPECT_EQ(r->persistentConnectionTimeoutSeconds.load(), 60);
  EXPECT_EQ(r->defaultResponseEncoding.load(), pf::StringEncoding::ISOLatin1);
  const std::pair<const char*, bool> flags[] = {
      {"shouldAttemptPersistentConnection", r->shouldAttemptPersistentConnection},
      {"shouldPresentCredentialsBeforeChallenge", r->shouldPresentCredentialsBeforeChallenge},
      {"shouldRedirect", r->shouldRedirect},
      {"showAccurateProgress", r->showAccurateProgress},
      {"shouldResetDownloadProgress", r->shouldResetDownloadProgress},
      {"shouldResetUploadProgress", r->shouldResetUploadProgress},
      {"allowCompressedResponse", r->allowCompressedResponse},
      {"shouldWaitToInflateCompressedResponses", r->shouldWaitToInflateCompressedResponses},
      {"shouldPresentProxyAuthenticationDialog", r->shouldPresentProxyAuthenticationDialog},
      {"useSessionPersistence", r->useSessionPersistence},
      {"useCookiePersistence", r->useCookiePersistence},
      {"validatesSecureCertificate", r->validatesSecureCertificate},
      {"!useHTTPVersionOne", !r->useHTTPVersionOne},
      {"!useKeychainPersistence", !r->useKeychainPersistence},
      {"!shouldPresentAuthenticationDialog", !r->shouldPresentAuthenticationDialog},
      {"!shouldStreamPostDataFromDisk", !r->shouldStreamPostDataFromDisk},
      {"!shouldCompressRequestBody", !r->shouldCompressRequestBody},
      {"!allowResumeForFileDownloads", !r->allowResumeForFileDownloads},
      {"!shouldContinueWhenAppEntersBackground", !r->shouldContinueWhenAppEntersBackground},
      {"!complete", !r->complete},
  };
  for (const auto& [name, holds] : flags) EXPECT_TRUE(holds) << name;
  EXPECT_TRUE(r->requestCookies.get().empty());
  EXPECT_FALSE(r->requestHeaders.get());
  EXPECT_EQ(r->numberOfTimesToRetryOnTimeout.load(), 0);
  EXPECT_EQ(r->responseStatusCode.load(), 0);
  EXPECT_FALSE(r->downloadCache.get().lock());
  EXPECT_EQ(r->didStartSelector.get(), &HttpRequestDelegate::requestStarted);
  EXPECT_EQ(r->didFinishSelector.get(), &HttpRequestDelegate::requestFinished);
  EXPECT_EQ(r->didFailSelector.get(), &HttpRequestDelegate::requestFailed);
}

TEST_F(HttpRequestTest, PostAndPutNeverKeepTheirConnectionNorDoesAnyMethodOnceABodyIsAttached) {
  const struct {
    const char* method;
    const char* body;  // "memory", "file" or none
    bool persistent;
  } cases[] = {
      {"GET", nullptr, true},     {"POST", nullptr, false}, {"PUT", nullptr, false},
      {"DELETE", nullptr, true},  {"HEAD", nullptr, true},  {"DELETE", "memory", false},
      {"HEAD", "file", false},    {"GET", "memory", true},  // no change of method, no change
      {"OPTIONS", "empty", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.method) + " " + (c.body ? c.body : "-"));
    auto r = request();
    const std::string body = c.body ? c.body : "";
    if (body == "memory") r->appendPostData({'x'});
    if (body == "empty") r->postBody.set(pf::Data{});
    if (body == "file") r->postBodyFilePath.set(writeFile("body", 3));
    r->setRequestMethod(c.method);
    EXPECT_EQ(r->shouldAttemptPersistentConnection.load(), c.persistent);
  }
}

TEST_F(HttpRequestTest, BuildsTheBodyOnceAndTurnsBodiedGetsIntoPosts) {
  const std::string file = writeFile("five", 5);
  const struct {
    const char* method;
    std::optional<std::string> memory;
    bool fromFile;
    const char* sentMethod;
    std::optional<std::string> length;
  } cases[] = {
      {"GET", "abc", false, "POST", "3"},       {"DELETE", "abc", false, "POST", "3"},
      {"HEAD", "abc", false, "POST", "3"},      {"PUT", "abc", false, "PUT", "3"},
      {"GET", std::nullopt, false, "GET", {}},  {"GET", "", false, "GET", {}},
      {"GET", std::nullopt, true, "POST", "5"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.method) + " " + c.memory.value_or("(file)"));
    auto r = request();
    r->setRequestMethod(c.method);
    if (c.memory) r->postBody.set(pf::Data(c.memory->begin(), c.memory->end()));
    if (c.fromFile) r->postBodyFilePath.set(file);
    r->buildPostBody();
    EXPECT_EQ(r->requestMethod(), c.sentMethod);
    EXPECT_EQ(header(*r, "Content-Length"), c.length);
    EXPECT_EQ(r->postLength.load(), c.length ? std::stoull(*c.length) : 0);
    EXPECT_TRUE(r->haveBuiltPostBody);
    r->appendPostData({'m', 'o', 'r', 'e'});
    r->buildPostBody();
    EXPECT_EQ(header(*r, "Content-Length"), c.length);
  }
}

TEST_F(HttpRequestTest, CompressesBodiesInMemoryAndOnDiskWhenAsked) {
  auto memory = request();
  memory->postBody.set(pf::Data(1000, 'a'));
  memory->shouldCompressRequestBody = true;
  memory->buildPostBody();
  ASSERT_TRUE(memory->compressedPostBody);
  EXPECT_EQ(header(*memory, "Content-Length"), std::to_string(memory->compressedPostBody->size()));
  EXPECT_LT(memory->postLength.load(), 1000u);
  EXPECT_EQ(memory->compressedPostBody->at(0), 0x1f);

  auto disk = request();
  disk->postBodyFilePath.set(writeFile("large", 100000));
  disk->shouldCompressRequestBody = true;
  disk->buildPostBody();
  ASSERT_TRUE(disk->compressedPostBodyFilePath);
  EXPECT_TRUE(disk->compressedPostBodyFilePath->starts_with(pf::Sandbox::temporaryPath()));
  EXPECT_EQ(disk->postLength.load(), std::filesystem::file_size(*disk->compressedPostBodyFilePath));
  EXPECT_LT(disk->postLength.load(), 100000u);
}

TEST_F(HttpRequestTest, StreamsABodyThroughATemporaryFile) {
  const std::string part = writeFile("part", 300000);
  auto r = request();
  r->shouldStreamPostDataFromDisk = true;
  r->appendPostData({'h', 'e', 'a', 'd'});
  EXPECT_TRUE(r->appendPostDataFromFile(part));
  ASSERT_TRUE(r->postBodyFilePath.get());
  EXPECT_TRUE(r->didCreateTemporaryPostDataFile);
  EXPECT_FALSE(r->postBody.get());
  r->buildPostBody();
  EXPECT_EQ(header(*r, "Content-Length"), "300004");
  EXPECT_EQ(std::filesystem::file_size(*r->postBodyFilePath.get()), 300004u);
}

TEST_F(HttpRequestTest, FailsWithAFileErrorWhenABodyFileCannotBeRead) {
  const std::string missing = home.file("missing");
  auto r = request();
  r->postBodyFilePath.set(missing);
  r->buildPostBody();
  ASSERT_TRUE(r->error.get());
  EXPECT_EQ(r->error.get()->domain(), NetworkRequestErrorDomain);
  EXPECT_EQ(r->error.get()->code(), 8);
  EXPECT_EQ(r->error.get()->localizedDescription(),
            "Failed to get attributes for file at path '" + missing + "'");
  EXPECT_TRUE(r->error.get()->underlyingError());
  EXPECT_TRUE(r->complete);
  EXPECT_FALSE(header(*r, "Content-Length"));

  auto copying = request();
  EXPECT_FALSE(copying->appendPostDataFromFile(missing));
  ASSERT_TRUE(copying->error.get());
  EXPECT_EQ(copying->error.get()->code(), 8);
}

TEST_F(HttpRequestTest, AddsTheEngineHeadersOnce) {
  auto plain = request();
  plain->buildRequestHeaders();
  EXPECT_EQ(header(*plain, "User-Agent"), "TestAgent/1");
  EXPECT_EQ(header(*plain, "Accept-Encoding"), "gzip");
  EXPECT_FALSE(header(*plain, "Content-Encoding"));
  EXPECT_FALSE(header(*plain, "Cookie"));
  EXPECT_FALSE(header(*plain, "Range"));
  plain->allowCompressedResponse = false;
  plain->buildRequestHeaders();
  EXPECT_EQ(header(*plain, "Accept-Encoding"), "gzip");  // built already

  auto own = request();
  own->userAgentString.set("Own/2");
  own->allowCompressedResponse = false;
  own->shouldCompressRequestBody = true;
  own->buildRequestHeaders();
  EXPECT_EQ(header(*own, "User-Agent"), "Own/2");
  EXPECT_FALSE(header(*own, "Accept-Encoding"));
  EXPECT_EQ(header(*own, "Content-Encoding"), "gzip");

  auto explicitAgent = request();
  explicitAgent->userAgentString.set("Own/2");
  explicitAgent->addRequestHeader("User-Agent", "Explicit/3");
  explicitAgent->buildRequestHeaders();
  EXPECT_EQ(header(*explicitAgent, "User-Agent"), "Explicit/3");

  HttpRequest::setDefaultUserAgentString(std::nullopt);
  pf::Bundle::setMainBundlePath(home.file("no-bundle"));
  auto anonymous = request();
  anonymous->buildRequestHeaders();
  EXPECT_FALSE(header(*anonymous, "User-Agent"));
  pf::Bundle::setMainBundlePath("");
}

TEST_F(HttpRequestTest, RefusesHeadersThatWouldBreakTheMessage) {
  auto r = request();
  EXPECT_FALSE(r->addRequestHeader("X-Evil", "1\r\nX-Injected: 2"));
  EXPECT_FALSE(r->addRequestHeader("X-Evil\nX-Injected", "2"));
  EXPECT_FALSE(r->addRequestHeader("Bad Name", "2"));
  EXPECT_FALSE(r->requestHeaders.get());
  EXPECT_TRUE(r->addRequestHeader("X-Fine", "1"));
  EXPECT_TRUE(r->addRequestHeader("X-Fine", "2"));
  EXPECT_EQ(header(*r, "X-Fine"), "2");
}

TEST_F(HttpRequestTest, AsksForTheRestOfAPartialDownload) {
  const std::string partial = writeFile("partial", 1000);
  const struct {
    const char* what;
    bool resume;
    bool destination;
    std::string temporary;
    std::optional<std::string> range;
  } cases[] = {
      {"resumable", true, true, partial, "bytes=1000-"},
      {"no temporary file yet", true, true, home.file("absent"), std::nullopt},
      {"resume not allowed", false, true, partial, std::nullopt},
      {"no destination", true, false, partial, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto r = request();
    r->allowResumeForFileDownloads = c.resume;
    if (c.destination) r->downloadDestinationPath.set(home.file("destination"));
    r->temporaryFileDownloadPath.set(c.temporary);
    r->buildRequestHeaders();
    EXPECT_EQ(header(*r, "Range"), c.range);
    EXPECT_EQ(r->partialDownloadSize.load(), c.range ? 1000u : 0u);
  }
}

TEST_F(HttpRequestTest, SendsTheRequestCookiesAndThoseStoredForTheUrl) {
  auto own = request();
  own->useCookiePersistence = false;
  own->requestCookies.set({std::make_shared<pf::HttpCookie>(pf::HttpCookie::Properties{
                               "a", "1", "127.0.0.1", "/", std::nullopt, false, false}),
                           std::make_shared<pf::HttpCookie>(pf::HttpCookie::Properties{
                               "b", "2", "127.0.0.1", "/", std::nullopt, false, false})});
  own->buildRequestHeaders();
  EXPECT_EQ(header(*own, "Cookie"), "a=1; b=2");

  const pf::Url url = *pf::Url::parse("http://127.0.0.1/path");
  auto storage = pf::HttpCookieStorage::sharedHTTPCookieStorage();
  storage->setCookies(pf::HttpCookie::cookiesWithResponseHeaderFields({{"Set-Cookie", "a=1; Path=/"}}, url));
  storage->setCookies(pf::HttpCookie::cookiesWithResponseHeaderFields({{"Set-Cookie", "b=2; Path=/"}}, url));
  storage->setCookies(
      pf::HttpCookie::cookiesWithResponseHeaderFields({{"Set-Cookie", "elsewhere=3; Path=/other"}}, url));
  auto stored = request();
  stored->buildRequestHeaders();
  EXPECT_EQ(header(*stored, "Cookie"), "a=1; b=2");
  EXPECT_EQ(stored->requestCookies.get().size(), 2u);

  auto withoutPersistence = request();
  withoutPersistence->useCookiePersistence = false;
  withoutPersistence->buildRequestHeaders();
  EXPECT_FALSE(header(*withoutPersistence, "Cookie"));
}

TEST_F(HttpRequestTest, CopiesCarryTheCallersSettingsButNotTheResponse) {
  auto delegate = std::make_shared<HttpRequestDelegate>();
  auto r = request();
  r->setDelegate(delegate);
  r->setRequestMethod("PUT");
  r->addRequestHeader("X-Copied", "1");
  r->timeOutSeconds = 30;
  r->username.set("user");
  r->tag = 7;
  r->userInfo.set(pf::Dictionary{{"id", 3}});
  r->allowResumeForFileDownloads = true;
  r->downloadDestinationPath.set("/tmp/destination");
  r->responseStatusCode = 200;
  r->didReceiveResponseHeadersSelector.set(nullptr);
  auto c = r->copy();
  EXPECT_NE(c, r);
  EXPECT_EQ(c->url(), r->url());
  EXPECT_EQ(c->delegate().lock(), delegate);
  EXPECT_EQ(c->requestMethod(), "PUT");
  EXPECT_FALSE(c->shouldAttemptPersistentConnection);
  EXPECT_EQ(header(*c, "X-Copied"), "1");
  EXPECT_EQ(c->timeOutSeconds.load(), 30);
  EXPECT_EQ(c->username.get(), "user");
  EXPECT_EQ(c->tag.load(), 7);
  EXPECT_EQ(c->userInfo.get(), r->userInfo.get());
  EXPECT_TRUE(c->allowResumeForFileDownloads);
  EXPECT_EQ(c->downloadDestinationPath.get(), "/tmp/destination");
  EXPECT_EQ(c->responseStatusCode.load(), 0);
  EXPECT_NE(c->didReceiveResponseHeadersSelector.get(), nullptr);
}

TEST_F(HttpRequestTest, AHeadRequestStandsInForItsMainRequest) {
  auto main = request();
  main->addRequestHeader("X-Main", "1");
  main->timeOutSeconds = 20;
  main->proxyHost.set("proxy");
  auto head = main->HEADRequest();
  EXPECT_EQ(head->requestMethod(), "HEAD");
  EXPECT_EQ(head->mainRequest.get().lock(), main);
  EXPECT_EQ(head->url(), main->url());
  EXPECT_EQ(head->timeOutSeconds.load(), 20);
  EXPECT_EQ(head->proxyHost.get(), "proxy");
  main->addRequestHeader("X-Later", "2");
  main->buildRequestHeaders();
  head->buildRequestHeaders();
  EXPECT_EQ(head->requestHeaders.get(), main->requestHeaders.get());
}

TEST_F(HttpRequestTest, SharesTheFixedErrorsOfTheDomain) {
  const struct {
    const pf::ErrorPtr& error;
    long code;
    const char* text;
  } cases[] = {
      {HttpRequest::requestTimedOutError(), 2, "The request timed out"},
      {HttpRequest::authenticationError(), 3, "Authentication needed"},
      {HttpRequest::requestCancelledError(), 4, "The request was cancelled"},
      {HttpRequest::unableToCreateRequestError(), 5, "Unable to create request (bad url?)"},
      {HttpRequest::tooMuchRedirectionError(), 9, "The request failed because it redirected too many times"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.error->domain(), "HttpRequestErrorDomain");
    EXPECT_EQ(c.error->code(), c.code);
    EXPECT_EQ(c.error->localizedDescription(), c.text);
    EXPECT_EQ(c.error->userInfo().size(), 1u);
  }
  EXPECT_EQ(&HttpRequest::requestTimedOutError(), &HttpRequest::requestTimedOutError());
}

}  // namespace
