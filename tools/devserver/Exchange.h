#pragma once
// A handler's side of one request: the request, and the ways to answer it on the connection, from a
// proper answer to deliberately broken ones (raw bytes, a reset in the middle, a stall).

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/devserver/Request.h"
#include "tools/devserver/ServerConnection.h"

namespace devserver {

class Exchange {
 public:
  using Pause = std::function<bool(double seconds)>;

  Exchange(const Request& request, ServerConnection& connection, Pause pause)
      : request_(request), connection_(connection), pause_(std::move(pause)) {}

  const Request& request() const { return request_; }

  // A whole answer; "Content-Length" is added unless the headers name one.
  void respond(int status, std::string_view body, const Headers& headers = {});
  // A chunked answer, each chunk written on its own.
  void respondChunked(int status, const std::vector<std::string>& chunks, const Headers& headers = {});
  // The status line and headers alone; write() sends the body.
  void sendHead(int status, const Headers& headers);
  // Bytes exactly as given.
  void write(std::string_view bytes);
  // Waits that long, or less when the server stops; false when it is stopping.
  bool pause(double seconds) { return pause_(seconds); }
  // Ends the connection with a reset.
  void reset();
  // Ends the connection after this answer.
  void closeConnection() { close_ = true; }
  // Passes bytes both ways between the client and upstream (a connected socket, closed here) until
  // either side ends; the connection ends with it.
  void tunnel(int upstream);

  bool answered() const { return answered_; }
  bool closesConnection() const { return close_; }

 private:
  const Request& request_;
  ServerConnection& connection_;
  Pause pause_;
  bool answered_ = false;
  bool close_ = false;
};

using Handler = std::function<void(Exchange&)>;

}  // namespace devserver
