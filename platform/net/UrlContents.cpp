#include "platform/net/UrlContents.h"

#include <fstream>
#include <iterator>
#include <memory>

#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Timer.h"
#include "platform/net/HttpMessage.h"
#include "platform/net/HttpReadStream.h"
#include "platform/net/StreamError.h"
#include "platform/net/Url.h"

namespace pf {

namespace {

constexpr char kUrlContentsMode[] = "UrlContentsSynchronousMode";

UrlContents::Result urlReadFailure(long code, const std::string& description, ErrorPtr cause = nullptr) {
  Dictionary info;
  info[kLocalizedDescriptionKey] = Value(description);
  if (cause) info[kUnderlyingErrorKey] = Value(std::static_pointer_cast<Object>(cause));
  return {std::nullopt, std::make_shared<Error>(UrlContents::kErrorDomain, code, std::move(info))};
}

// What one GET leaves behind; written on the reading thread only.
struct HttpReadState {
  Data body;
  ErrorPtr error;
  bool done = false;
  bool timedOut = false;
};

}  // namespace

UrlContents::Result UrlContents::read(const std::string& url, double timeout) {
  return readAny(url, timeout, false);
}

UrlContents::Result UrlContents::readPage(const std::string& url, double timeout) {
  return readAny(url, timeout, true);
}

UrlContents::Result UrlContents::readPrefix(const std::string& url, std::size_t maxBytes, double timeout) {
  const auto parsed = Url::parse(url);
  if (!parsed || (parsed->scheme() != "http" && parsed->scheme() != "https") || maxBytes == 0)
    return urlReadFailure(kReadUnsupportedScheme, "No prefix can be read of " + url);
  return readHttp(url, timeout, false, maxBytes);
}

UrlContents::Result UrlContents::readAny(const std::string& url, double timeout, bool anyStatus) {
  const auto parsed = Url::parse(url);
  if (!parsed) return urlReadFailure(kReadUnsupportedScheme, "The address is not a URL: " + url);
  if (parsed->scheme() == "file") {
    const auto path = Url::percentDecode(parsed->path());
    if (!path) return urlReadFailure(kReadNoSuchFile, "The file address is malformed: " + url);
    return readFile(*path);
  }
  if (parsed->scheme() == "http" || parsed->scheme() == "https") return readHttp(url, timeout, anyStatus);
  return urlReadFailure(kReadUnsupportedScheme, "The scheme of " + url + " cannot be read.");
}

UrlContents::Result UrlContents::readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return urlReadFailure(kReadNoSuchFile, "No file at " + path);
  Data data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return urlReadFailure(kReadUnknown, "The file " + path + " could not be read.");
  return {std::move(data), nullptr};
}

UrlContents::Result UrlContents::readHttp(const std::string& url, double timeout, bool anyStatus, std::size_t maxBytes) {
  auto request = HttpMessage::makeRequest("GET", *Url::parse(url));
  if (!request) return urlReadFailure(kReadUnsupportedScheme, "No request can be made for " + url);
  if (maxBytes > 0) request->setHeaderField("Range", "bytes=0-" + std::to_string(maxBytes - 1));
  auto stream = HttpReadStream::make(request);
  auto state = std::make_shared<HttpReadState>();
  std::weak_ptr<HttpReadStream> weakStream = stream;
  stream->setClient(HttpReadStream::kHasBytesAvailable | HttpReadStream::kErrorOccurred |
                        HttpReadStream::kEndEncountered,
                    [state, weakStream, maxBytes](HttpReadStream::Event event) {
                      auto s = weakStream.lock();
                      if (!s || state->done) return;
                      if (event == HttpReadStream::kHasBytesAvailable) {
                        std::uint8_t buffer[16384];
                        long long count;
                        while ((count = s->read(buffer, sizeof buffer)) > 0) {
                          state->body.insert(state->body.end(), buffer, buffer + count);
                          if (maxBytes > 0 && state->body.size() >= maxBytes) {
                            state->body.resize(maxBytes);
                            state->done = true;
                            return;
                          }
                        }
                      } else if (event == HttpReadStream::kErrorOccurred) {
                        state->error = s->error();
                        state->done = true;
                      } else {
                        state->done = true;
                      }
                    });
  const auto loop = RunLoop::current();
  stream->schedule(loop, kUrlContentsMode);
  if (!stream->open()) {
    stream->setClient(0, nullptr);
    return urlReadFailure(kReadUnknown, "The request for " + url + " could not be sent.", stream->error());
  }
  auto timer = Timer::make(timeout, false, [state](Timer&) {
    if (state->done) return;
    state->timedOut = true;
    state->done = true;
  });
  loop->addTimer(timer, kUrlContentsMode);
  while (!state->done) loop->runUntilTrue([&] { return state->done; }, timeout, kUrlContentsMode);
  timer->invalidate();
  const auto response = stream->responseHeader();
  stream->setClient(0, nullptr);
  stream->close();
  stream->unschedule();
  if (state->timedOut) {
    return urlReadFailure(kReadUnknown, "No answer from " + url + " in time.",
                          Error::make(StreamError::kPosixDomain, StreamError::kTimedOut, "The request timed out."));
  }
  if (state->error) return urlReadFailure(kReadUnknown, "The content of " + url + " could not be read.", state->error);
  const int status = response ? response->statusCode() : 0;
  if (status == 0 || (!anyStatus && (status < 200 || status > 299))) {
    auto failure =
        urlReadFailure(kReadUnknown, "The server answered " + url + " with status " + std::to_string(status) + ".");
    failure.statusCode = status;
    return failure;
  }
  return {std::move(state->body), nullptr, status};
}

}  // namespace pf
