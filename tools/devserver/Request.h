#pragma once
// One request as the server received it, kept for the test's assertions.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace devserver {

using Headers = std::vector<std::pair<std::string, std::string>>;

struct Request {
  std::string method;
  // As on the request line; path and query are its two halves (still percent-encoded).
  std::string target;
  std::string path;
  std::string query;
  std::string version;
  Headers headers;
  // Without chunked framing.
  std::string body;
  // Which connection carried it: 1 for the first the server accepted.
  int connection = 0;

  // The first field of that name, matched without regard to case.
  std::optional<std::string> header(std::string_view name) const;
};

}  // namespace devserver
