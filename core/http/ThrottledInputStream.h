#pragma once
// Feeds a request body to the network while counting every read against the process-wide bandwidth
// meter; when bandwidth is throttled each read is also held to what the current second still allows.
// Reads come from the thread that runs the owning request.

#include <memory>
#include <string>

#include "platform/foundation/Value.h"
#include "platform/net/InputStream.h"

class HttpRequest;

class ThrottledInputStream : public pf::InputStream {
 public:
  static std::shared_ptr<ThrottledInputStream> inputStreamWithFileAtPath(
      const std::string& path, const std::shared_ptr<HttpRequest>& request);
  static std::shared_ptr<ThrottledInputStream> inputStreamWithData(
      const pf::Data& data, const std::shared_ptr<HttpRequest>& request);
  ThrottledInputStream(std::shared_ptr<pf::InputStream> stream, std::weak_ptr<HttpRequest> request);

  bool open() override { return stream_->open(); }
  long long read(std::uint8_t* buffer, std::size_t maxLength) override;
  void close() override { stream_->close(); }
  pf::ErrorPtr error() const override { return stream_->error(); }

 private:
  const std::shared_ptr<pf::InputStream> stream_;
  const std::weak_ptr<HttpRequest> request_;
};
