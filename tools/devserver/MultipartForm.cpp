#include "tools/devserver/MultipartForm.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace devserver {

namespace {

std::string lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
  return out;
}

std::string_view trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The value of `name=` in a header's parameters, unquoted; nullopt when absent.
std::optional<std::string> parameter(std::string_view header, std::string_view name) {
  size_t at = 0;
  while ((at = header.find(';', at)) != std::string_view::npos) {
    std::string_view rest = trim(header.substr(++at));
    const size_t equals = rest.find('=');
    if (equals == std::string_view::npos || lower(trim(rest.substr(0, equals))) != name) continue;
    std::string_view value = trim(rest.substr(equals + 1));
    if (value.starts_with('"')) {
      const size_t close = value.find('"', 1);
      if (close == std::string_view::npos) return std::nullopt;
      return std::string(value.substr(1, close - 1));
    }
    return std::string(value.substr(0, value.find(';')));
  }
  return std::nullopt;
}

// One part: header lines, an empty line, the bytes.
std::optional<MultipartPart> readPart(std::string_view part) {
  const size_t headEnd = part.find("\r\n\r\n");
  if (headEnd == std::string_view::npos) return std::nullopt;
  MultipartPart result;
  result.body = std::string(part.substr(headEnd + 4));
  std::string_view head = part.substr(0, headEnd);
  bool named = false;
  while (!head.empty()) {
    const size_t end = head.find("\r\n");
    const std::string_view line = head.substr(0, end);
    head = end == std::string_view::npos ? std::string_view() : head.substr(end + 2);
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const std::string field = lower(trim(line.substr(0, colon)));
    const std::string_view value = trim(line.substr(colon + 1));
    if (field == "content-disposition") {
      if (!lower(value).starts_with("form-data")) return std::nullopt;
      std::optional<std::string> name = parameter(value, "name");
      if (!name) return std::nullopt;
      result.name = std::move(*name);
      result.fileName = parameter(value, "filename");
      named = true;
    } else if (field == "content-type") {
      result.contentType = std::string(value);
    }
  }
  if (!named) return std::nullopt;
  return result;
}

}  // namespace

std::optional<std::vector<MultipartPart>> MultipartForm::parse(const Request& request) {
  const std::optional<std::string> contentType = request.header("Content-Type");
  if (!contentType) return std::nullopt;
  return parse(*contentType, request.body);
}

std::optional<std::vector<MultipartPart>> MultipartForm::parse(const std::string& contentType,
                                                               const std::string& body) {
  if (!lower(contentType).starts_with("multipart/form-data")) return std::nullopt;
  const std::optional<std::string> boundary = parameter(contentType, "boundary");
  if (!boundary || boundary->empty()) return std::nullopt;
  const std::string delimiter = "--" + *boundary;
  const std::string_view text(body);
  if (!text.starts_with(delimiter)) return std::nullopt;
  std::vector<MultipartPart> parts;
  size_t at = delimiter.size();
  while (true) {
    if (text.substr(at).starts_with("--")) return parts;  // the closing delimiter
    if (!text.substr(at).starts_with("\r\n")) return std::nullopt;
    at += 2;
    const size_t next = text.find("\r\n" + delimiter, at);
    if (next == std::string_view::npos) return std::nullopt;
    std::optional<MultipartPart> part = readPart(text.substr(at, next - at));
    if (!part) return std::nullopt;
    parts.push_back(std::move(*part));
    at = next + 2 + delimiter.size();
  }
}

}  // namespace devserver
