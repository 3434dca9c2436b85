#pragma once
// Requests run by the engine against the loopback server: the test thread is the main thread, whose
// loop receives the reports; a recording delegate keeps what it heard and on which thread.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "core/http/HttpRequest.h"
#include "platform/foundation/RunLoop.h"
#include "tests/core/http/HttpRequestFixture.h"
#include "tools/devserver/Answers.h"
#include "tools/devserver/DevServer.h"

class RecordingDelegate : public HttpRequestDelegate {
 public:
  void requestStarted(const HttpRequest::Ptr&) override { note("started"); }
  void request(const HttpRequest::Ptr&, const pf::Dictionary&) override { note("headers"); }
  void requestRedirected(const HttpRequest::Ptr&) override { note("redirected"); }
  void requestFinished(const HttpRequest::Ptr&) override { note("finished"); }
  void requestFailed(const HttpRequest::Ptr&) override { note("failed"); }
  using HttpRequestDelegate::request;

  bool ended() const {
    return std::find_if(events.begin(), events.end(),
                        [](const auto& e) { return e == "finished" || e == "failed"; }) != events.end();
  }

  std::vector<std::string> events;
  std::vector<std::thread::id> threads;

 private:
  void note(const char* event) {
    events.push_back(event);
    threads.push_back(std::this_thread::get_id());
  }
};

class HttpEngineFixture : public HttpRequestFixture {
 protected:
  void SetUp() override {
    HttpRequestFixture::SetUp();
    pf::RunLoop::setMainThread();
    ASSERT_TRUE(server.start());
  }
  void TearDown() override {
    server.stop();
    HttpRequestFixture::TearDown();
  }

  HttpRequest::Ptr get(const std::string& path) {
    return HttpRequest::requestWithURL(pf::Url::parse(server.url(path)));
  }
  // Runs the main loop until the condition holds (reports arrive there); false after the timeout.
  static bool runMainUntil(const std::function<bool()>& done, double timeout = 5) {
    return pf::RunLoop::main()->runUntilTrue(done, timeout);
  }
  // Starts the request on the shared queue and waits for its end to be reported.
  bool runQueued(const HttpRequest::Ptr& request, const std::shared_ptr<RecordingDelegate>& delegate,
                 double timeout = 5) {
    request->setDelegate(delegate);
    request->startAsynchronous();
    return runMainUntil([&] { return delegate->ended(); }, timeout);
  }
  static long errorCode(const HttpRequest& request) {
    const pf::ErrorPtr error = request.error.get();
    return error ? error->code() : 0;
  }
  static std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
  }
  static void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  static std::string body(const HttpRequest& request) {
    const std::optional<pf::Data> data = request.responseData();
    return data ? std::string(data->begin(), data->end()) : "";
  }

  devserver::DevServer server;
};
