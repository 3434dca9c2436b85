#pragma once
// Reads the whole content of a URL synchronously, as the platform's data-with-contents-of-URL call
// did: "file" URLs from disk, "http" and "https" URLs with one GET. A read that fails answers an error
// in the platform's file-reading domain (the cause, when there is one, as its underlying error):
// a missing file, an unsupported scheme, a network failure, an answer whose status is not 2xx, or no
// complete answer within the time-out.
//
// Thread rules: blocks the calling thread, running that thread's run loop in a private mode while
// the request is under way; call it off the main thread.

#include <cstddef>
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
    // The HTTP status of the answer read; 0 for a file or when no answer came.
    int statusCode = 0;
  };

  static Result read(const std::string& url, double timeout = kDefaultTimeout);
  // As read, except that an HTTP answer of any status gives its body: an error page is still a page
  // to show (a web view shows a 404 page's body).
  static Result readPage(const std::string& url, double timeout = kDefaultTimeout);
  // The first maxBytes of an http or https answer (asked for with a byte range, cut short when the
  // server sends the whole content), so a header can be read without fetching a whole movie.
  static Result readPrefix(const std::string& url, std::size_t maxBytes, double timeout = kDefaultTimeout);

 private:
  static Result readAny(const std::string& url, double timeout, bool anyStatus);
  static Result readFile(const std::string& path);
  static Result readHttp(const std::string& url, double timeout, bool anyStatus, std::size_t maxBytes = 0);
};

}  // namespace pf
