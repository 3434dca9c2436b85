#include "tools/devserver/RequestReader.h"

#include <strings.h>

#include <cstdlib>

namespace devserver {
namespace {

std::string trim(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::optional<Request> RequestReader::next() {
  std::optional<Request> request = nextHead();
  if (!request || !readBody(*request)) return std::nullopt;
  return request;
}

std::optional<Request> RequestReader::nextHead() {
  std::optional<std::string> line = readLine();
  while (line && line->empty()) line = readLine();  // stray blank lines between requests
  if (!line) return std::nullopt;
  Request request;
  const std::size_t first = line->find(' ');
  const std::size_t second = line->find(' ', first + 1);
  if (first == std::string::npos || second == std::string::npos) return std::nullopt;
  request.method = line->substr(0, first);
  request.target = line->substr(first + 1, second - first - 1);
  request.version = line->substr(second + 1);
  const std::size_t question = request.target.find('?');
  request.path = request.target.substr(0, question);
  if (question != std::string::npos) request.query = request.target.substr(question + 1);
  std::size_t headBytes = line->size();
  while (true) {
    line = readLine();
    if (!line || (headBytes += line->size()) > kMaxHeadBytes) return std::nullopt;
    if (line->empty()) break;
    const std::size_t colon = line->find(':');
    if (colon == std::string::npos) return std::nullopt;
    request.headers.emplace_back(line->substr(0, colon), trim(line->substr(colon + 1)));
  }
  return request;
}

bool RequestReader::fill() {
  char chunk[16 * 1024];
  const long count = connection_.read(chunk, sizeof chunk);
  if (count <= 0) return false;
  buffer_.append(chunk, static_cast<std::size_t>(count));
  return true;
}

std::optional<std::string> RequestReader::readLine() {
  std::size_t newline;
  while ((newline = buffer_.find('\n')) == std::string::npos) {
    if (buffer_.size() > kMaxHeadBytes || !fill()) return std::nullopt;
  }
  std::string line = buffer_.substr(0, newline);
  buffer_.erase(0, newline + 1);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

bool RequestReader::readBytes(std::size_t count, std::string& out) {
  while (buffer_.size() < count) {
    if (!fill()) return false;
  }
  out.append(buffer_, 0, count);
  buffer_.erase(0, count);
  return true;
}

bool RequestReader::readBody(Request& request) {
  const std::optional<std::string> coding = request.header("Transfer-Encoding");
  if (coding && strcasecmp(coding->c_str(), "chunked") == 0) return readChunkedBody(request);
  const std::optional<std::string> length = request.header("Content-Length");
  if (!length) return true;
  char* end = nullptr;
  const unsigned long long size = std::strtoull(length->c_str(), &end, 10);
  if (end == length->c_str() || *end != '\0' || size > kMaxBodyBytes) return false;
  return readBytes(static_cast<std::size_t>(size), request.body);
}

bool RequestReader::readChunkedBody(Request& request) {
  while (true) {
    std::optional<std::string> line = readLine();
    if (!line) return false;
    char* end = nullptr;
    const unsigned long long size = std::strtoull(line->c_str(), &end, 16);
    if (end == line->c_str() || request.body.size() + size > kMaxBodyBytes) return false;
    if (size == 0) break;
    if (!readBytes(static_cast<std::size_t>(size), request.body) || !readLine()) return false;
  }
  std::optional<std::string> trailer;
  do {
    trailer = readLine();
  } while (trailer && !trailer->empty());
  return trailer.has_value();
}

}  // namespace devserver
