#pragma once
// One picture fetch: runs its HTTP request on the queue thread that starts it, inside that thread's run
// loop, reports progress and (for progressive downloads) partial pictures while the bytes arrive, and
// ends with one completion: the picture decoded, scaled by its URL and decoded for drawing, or an error.
// Bodies and pictures are bounded: past kMaxImageBytes or the pixel budget there is no picture.
//
// Threads: progress and the final completion run on the operation's thread, partial pictures on the
// main queue; cancel works from any thread, and once it returns no callback of this operation starts.

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/foundation/Error.h"
#include "platform/foundation/Operation.h"
#include "platform/foundation/Value.h"
#include "platform/graphics/Image.h"
#include "platform/net/Url.h"
#include "ui/webimage/WebImageOperation.h"

class HttpDownloadCache;
class HttpRequest;

class WebImageDownloaderOperation : public pf::Operation, public WebImageOperation {
 public:
  using ImagePtr = std::shared_ptr<const pf::Image>;
  using ProgressBlock = std::function<void(std::uint64_t receivedSize, std::int64_t expectedSize)>;
  using CompletedBlock =
      std::function<void(ImagePtr image, std::optional<pf::Data> data, pf::ErrorPtr error, bool finished)>;
  using CancelBlock = std::function<void()>;

  static constexpr char kStartNotification[] = "WebImageDownloadStartNotification";
  static constexpr char kStopNotification[] = "WebImageDownloadStopNotification";
  static constexpr char kErrorDomain[] = "WebImageErrorDomain";
  static constexpr double kTimeoutSeconds = 15;
  // The largest picture body kept.
  static constexpr std::uint64_t kMaxImageBytes = 16ull * 1024 * 1024;

  struct Request {
    pf::Url url;
    std::map<std::string, std::string> headers;
    // The URL cache, used when the options say so.
    std::shared_ptr<HttpDownloadCache> urlCache;
  };

  WebImageDownloaderOperation(Request request, int options, ProgressBlock progress, CompletedBlock completed,
                              CancelBlock cancelled);
  ~WebImageDownloaderOperation() override;

  void main() override;
  void cancel() override;

  const Request& request() const { return request_; }
  int options() const { return options_; }
  std::int64_t expectedSize() const { return expectedSize_; }

  // "Downloaded image has 0 pixels".
  static pf::ErrorPtr zeroPixelsError();

 private:
  struct Callbacks {
    ProgressBlock progress;
    CompletedBlock completed;
    CancelBlock cancelled;
  };
  class Transfer;

  std::shared_ptr<HttpRequest> makeHttpRequest() const;
  void run(const std::shared_ptr<HttpRequest>& http);
  void finishWith(const std::shared_ptr<HttpRequest>& http);
  void complete(ImagePtr image, std::optional<pf::Data> data, pf::ErrorPtr error);
  void reportProgress(std::uint64_t received, std::int64_t expected);
  bool wantsPartials() const;
  void showPartial(const std::shared_ptr<const pf::Bitmap>& bitmap);
  ImagePtr decodeFinal(const pf::Data& bytes) const;
  // Drops the callbacks and the request.
  void reset();

  const Request request_;
  const int options_;
  std::atomic<std::int64_t> expectedSize_{0};
  mutable std::mutex mutex_;
  Callbacks callbacks_;
  std::shared_ptr<HttpRequest> http_;
};
