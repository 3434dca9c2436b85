#include "tools/devserver/Exchange.h"

#include <strings.h>
#include <unistd.h>

#include "tools/devserver/Relay.h"

namespace devserver {
namespace {

const char* reason(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 201:
      return "Created";
    case 204:
      return "No Content";
    case 206:
      return "Partial Content";
    case 301:
      return "Moved Permanently";
    case 302:
      return "Found";
    case 303:
      return "See Other";
    case 304:
      return "Not Modified";
    case 307:
      return "Temporary Redirect";
    case 400:
      return "Bad Request";
    case 401:
      return "Unauthorized";
    case 403:
      return "Forbidden";
    case 404:
      return "Not Found";
    case 416:
      return "Range Not Satisfiable";
    case 500:
      return "Internal Server Error";
    default:
      return "Status";
  }
}

bool names(const Headers& headers, const char* name) {
  for (const auto& [key, value] : headers) {
    if (strcasecmp(key.c_str(), name) == 0) return true;
  }
  return false;
}

}  // namespace

void Exchange::respond(int status, std::string_view body, const Headers& headers) {
  Headers all = headers;
  if (!names(all, "Content-Length")) all.emplace_back("Content-Length", std::to_string(body.size()));
  sendHead(status, all);
  write(body);
}

void Exchange::respondChunked(int status, const std::vector<std::string>& chunks, const Headers& headers) {
  Headers all = headers;
  all.emplace_back("Transfer-Encoding", "chunked");
  sendHead(status, all);
  static constexpr char kDigits[] = "0123456789abcdef";
  for (const std::string& chunk : chunks) {
    if (chunk.empty()) continue;
    std::string size;
    for (std::size_t n = chunk.size(); n > 0; n >>= 4) size.insert(size.begin(), kDigits[n & 0xf]);
    write(size + "\r\n" + chunk + "\r\n");
  }
  write("0\r\n\r\n");
}

void Exchange::sendHead(int status, const Headers& headers) {
  std::string head = "HTTP/1.1 " + std::to_string(status) + " " + reason(status) + "\r\n";
  for (const auto& [key, value] : headers) head += key + ": " + value + "\r\n";
  write(head + "\r\n");
}

void Exchange::write(std::string_view bytes) {
  answered_ = true;
  if (!connection_.write(bytes)) close_ = true;
}

void Exchange::tunnel(int upstream) {
  answered_ = true;
  close_ = true;
  Relay::pass(connection_.descriptor(), upstream);
  ::close(upstream);
}

void Exchange::reset() {
  answered_ = true;
  close_ = true;
  connection_.reset();
}

}  // namespace devserver
