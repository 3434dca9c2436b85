#pragma once
// Requests under test get a sandbox of their own (temporary body files, the cookie file), an empty
// cookie jar and session, and a fixed default User-Agent.

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "core/http/HttpRequest.h"
#include "platform/foundation/Sandbox.h"
#include "platform/net/HttpCookieStorage.h"
#include "tests/support/TemporaryFolder.h"

class HttpRequestFixture : public testing::Test {
 protected:
  void SetUp() override {
    pf::Sandbox::setHome(home.path());
    pf::HttpCookieStorage::resetSharedHTTPCookieStorage();
    HttpRequest::setDefaultUserAgentString("TestAgent/1");
  }
  void TearDown() override {
    HttpRequest::setSessionCookies(std::nullopt);
    HttpRequest::setDefaultUserAgentString(std::nullopt);
    pf::HttpCookieStorage::resetSharedHTTPCookieStorage();
    pf::Sandbox::setHome("");
  }

  static HttpRequest::Ptr request(const std::string& url = "http://127.0.0.1/path") {
    return HttpRequest::requestWithURL(pf::Url::parse(url));
  }
  static std::optional<std::string> header(const HttpRequest& r, const std::string& name) {
    const std::optional<pf::Dictionary> headers = r.requestHeaders.get();
    if (!headers || !headers->contains(name)) return std::nullopt;
    return *headers->at(name).string();
  }
  std::string writeFile(const std::string& name, std::size_t size) {
    const std::string path = home.file(name);
    std::ofstream(path, std::ios::binary) << std::string(size, 'z');
    return path;
  }

  pf_test::TemporaryFolder home;
};
