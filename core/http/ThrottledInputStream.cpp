#include "core/http/ThrottledInputStream.h"

#include <mutex>

#include "core/http/HttpRequest.h"
#include "platform/net/DataInputStream.h"
#include "platform/net/FileInputStream.h"

namespace {

// One throttling step at a time across all bodies being sent.
std::mutex& readGuard() {
  static std::mutex guard;
  return guard;
}

}  // namespace

std::shared_ptr<ThrottledInputStream> ThrottledInputStream::inputStreamWithFileAtPath(
    const std::string& path, const std::shared_ptr<HttpRequest>& request) {
  return std::make_shared<ThrottledInputStream>(std::make_shared<pf::FileInputStream>(path), request);
}

std::shared_ptr<ThrottledInputStream> ThrottledInputStream::inputStreamWithData(
    const pf::Data& data, const std::shared_ptr<HttpRequest>& request) {
  return std::make_shared<ThrottledInputStream>(std::make_shared<pf::DataInputStream>(data), request);
}

ThrottledInputStream::ThrottledInputStream(std::shared_ptr<pf::InputStream> stream,
                                           std::weak_ptr<HttpRequest> request)
    : stream_(std::move(stream)), request_(std::move(request)) {}

long long ThrottledInputStream::read(std::uint8_t* buffer, std::size_t maxLength) {
  {
    std::lock_guard lock(readGuard());
    if (HttpRequest::isBandwidthThrottled()) {
      if (const std::shared_ptr<HttpRequest> request = request_.lock()) request->performThrottling();
      const unsigned long allowed = HttpRequest::maxUploadReadLength();
      if (maxLength >= allowed) maxLength = allowed == 0 ? 1 : allowed;
    }
  }
  const long long count = stream_->read(buffer, maxLength);
  if (count > 0) HttpRequest::incrementBandwidthUsedInLastSecond(static_cast<unsigned long>(count));
  return count;
}
