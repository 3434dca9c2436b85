#pragma once
// Reads the whole content of a URL synchronously, as the platform's data-with-contents-of-URL call
// did: "file" URLs from disk, "http" and "https" URLs with one GET. A read that fails answers an error
// in the platform's file-reading domain (the cause, when there is one, as its underlying error):
// a missing file, an unsupported scheme, a network failure, an answer whose status is not 2xx, or no
// complete answer within the time-out.
//
// Thread rules: blocks the calling thread, running that thread's run loop in a private mode while
// the request is under way; call it off the main thread.

#include <optional>
#include <string>

#include "platform/foundation/Error.h"
#include "platform/foundation/Value.h"

namespace pf {

class UrlContents {
 public:
  static constexpr char kErrorDomain[] = "NSCocoaErrorDomain";
  static constexpr long kReadUnknown = 256;
  static constexpr long kReadNoSuchFile = 260;
  static constexpr long kReadUnsupportedScheme = 262;
  static constexpr double kDefaultTimeout = 60;

  struct Result {
    std::optional<Data> data;
    ErrorPtr error;
  };

  static Result read(const std::string& url, double timeout = kDefaultTimeout);

 private:
  static Result readFile(const std::string& path);
  static Result readHttp(const std::string& url, double timeout);
};

}  // namespace pf
