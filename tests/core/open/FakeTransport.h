#pragma once
// Stands in for the network in remote-call tests: keeps every request a call would send and answers
// each from a script. Safe to use from several calling threads.

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "core/http/HttpRequestError.h"
#include "core/open/RemoteTransport.h"
#include "platform/foundation/JsonSerialization.h"

class FakeTransport : public RemoteTransport {
 public:
  using Script = std::function<Answer(const Request&)>;

  static Answer answer(int status, const std::string& body, Headers headers = {}) {
    Answer a;
    a.statusCode = status;
    a.statusLine = "HTTP/1.1 " + std::to_string(status) + (status == 200 ? " OK" : " Internal Server Error");
    a.headers = std::move(headers);
    a.body.assign(body.begin(), body.end());
    return a;
  }
  static Answer ok(const std::string& body) { return answer(200, body); }
  static Answer serverErrors(const std::string& records) {
    return answer(200, records, {{"hasException", "true"}});
  }
  // The HTTP engine's error of that code.
  static Answer failure(HttpRequestErrorCode code, const std::string& description = "engine text") {
    Answer a;
    a.error = pf::Error::make(NetworkRequestErrorDomain, static_cast<long>(code), description);
    return a;
  }

  // "/v1/a/b" of "http://host/open/v1/a/b.html".
  static std::string methodPath(const Request& request) {
    const std::size_t start = request.url.find("/open/") + 5;
    return request.url.substr(start, request.url.size() - start - 5);
  }
  // The body's members; every value of a call body is text.
  static std::map<std::string, std::string> parameters(const Request& request) {
    std::map<std::string, std::string> members;
    const pf::Value body = pf::JsonSerialization::JSONObjectWithData(request.body);
    if (!body.isDictionary()) return members;
    for (const auto& [name, value] : *body.dictionary())
      members.emplace(name, value.string() ? *value.string() : "?");
    return members;
  }

  void setScript(Script script) {
    std::lock_guard lock(mutex_);
    script_ = std::move(script);
  }
  // Every call answers this.
  void answerAll(Answer answer) {
    setScript([answer](const Request&) { return answer; });
  }

  Answer send(const Request& request) override {
    Script script;
    {
      std::lock_guard lock(mutex_);
      sent_.push_back(request);
      script = script_;
    }
    return script ? script(request) : ok("null");
  }

  std::vector<Request> sent() const {
    std::lock_guard lock(mutex_);
    return sent_;
  }
  std::vector<std::string> sentPaths() const {
    std::vector<std::string> paths;
    for (const Request& request : sent()) paths.push_back(methodPath(request));
    return paths;
  }
  void forget() {
    std::lock_guard lock(mutex_);
    sent_.clear();
  }

 private:
  mutable std::mutex mutex_;
  Script script_;
  std::vector<Request> sent_;
};
