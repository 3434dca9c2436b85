#pragma once
// The one HTTP exchange of a remote call, behind an interface so the call's rules (signing, renewal,
// answer and error handling) can be exercised without a network. HttpRemoteTransport is the real one.
//
// Thread rules: send is called on the calling thread of each remote call, possibly several at once.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/foundation/Error.h"
#include "platform/foundation/Value.h"

class RemoteTransport {
 public:
  using Headers = std::vector<std::pair<std::string, std::string>>;

  struct Request {
    std::string url;
    std::string method;
    Headers headers;
    pf::Data body;
    double timeoutSeconds = 0;
  };

  struct Answer {
    // Set when the exchange itself failed (an error of the HTTP engine); nothing else is then meaningful.
    pf::ErrorPtr error;
    int statusCode = 0;
    // The whole status line, "HTTP/1.1 500 Internal Server Error".
    std::string statusLine;
    Headers headers;
    pf::Data body;

    // The first header of that name, matched without regard to case.
    std::optional<std::string> header(std::string_view name) const;
  };

  virtual ~RemoteTransport() = default;
  // Runs the exchange to its end on the calling thread.
  virtual Answer send(const Request& request) = 0;
};
