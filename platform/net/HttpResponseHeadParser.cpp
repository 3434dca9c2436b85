#include "platform/net/HttpResponseHeadParser.h"

#include <cctype>

namespace pf {
namespace {

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool hasControlCharacters(std::string_view text) {
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if ((u < 0x20 && c != '\t') || u == 0x7f) return true;
  }
  return false;
}

}  // namespace

std::size_t HttpResponseHeadParser::feed(std::string_view bytes) {
  std::size_t taken = 0;
  while (state_ == State::NeedMore && taken < bytes.size()) {
    const std::string_view rest = bytes.substr(taken);
    const std::size_t newline = rest.find('\n');
    const std::size_t piece = newline == std::string_view::npos ? rest.size() : newline + 1;
    headBytes_ += piece;
    taken += piece;
    if (headBytes_ > kMaxHeadBytes) {
      fail("response head too long");
      break;
    }
    line_.append(rest.substr(0, piece));
    if (newline == std::string_view::npos) break;
    std::string_view line(line_);
    line.remove_suffix(1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    takeLine(line);
    line_.clear();
  }
  return taken;
}

void HttpResponseHeadParser::takeLine(std::string_view line) {
  if (!haveStatus_) {
    if (takeStatusLine(line)) haveStatus_ = true;
    return;
  }
  if (line.empty()) {
    endHead();
    return;
  }
  if (line.front() == ' ' || line.front() == '\t') {
    // An old-style continuation line: its text joins the previous value after one space.
    if (fields_.empty() || hasControlCharacters(line)) return fail("malformed header field");
    fields_.back().value += " " + std::string(trimBlanks(line));
    return;
  }
  takeField(line);
}

bool HttpResponseHeadParser::takeStatusLine(std::string_view line) {
  const bool shaped = line.size() >= 12 && (line.starts_with("HTTP/1.0 ") || line.starts_with("HTTP/1.1 ")) &&
                      std::isdigit(static_cast<unsigned char>(line[9])) &&
                      std::isdigit(static_cast<unsigned char>(line[10])) &&
                      std::isdigit(static_cast<unsigned char>(line[11])) &&
                      (line.size() == 12 || line[12] == ' ') && !hasControlCharacters(line);
  if (!shaped) {
    fail("malformed status line");
    return false;
  }
  version_ = std::string(line.substr(0, 8));
  statusCode_ = (line[9] - '0') * 100 + (line[10] - '0') * 10 + (line[11] - '0');
  statusLine_ = std::string(line);
  return true;
}

void HttpResponseHeadParser::takeField(std::string_view line) {
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos || !HttpMessage::isToken(line.substr(0, colon))) {
    return fail("malformed header field");
  }
  const std::string_view value = trimBlanks(line.substr(colon + 1));
  if (hasControlCharacters(value)) return fail("malformed header field");
  if (fields_.size() == kMaxFieldCount) return fail("too many header fields");
  fields_.push_back({std::string(line.substr(0, colon)), std::string(value)});
}

void HttpResponseHeadParser::endHead() {
  if (statusCode_ == 101) return fail("unexpected protocol switch");
  if (statusCode_ >= 100 && statusCode_ < 200) {
    if (++interimHeads_ > kMaxInterimHeads) return fail("too many interim responses");
    haveStatus_ = false;
    fields_.clear();
    headBytes_ = 0;
    return;
  }
  response_ = HttpMessage::makeResponse(version_, statusCode_, statusLine_, std::move(fields_));
  state_ = State::Complete;
}

void HttpResponseHeadParser::fail(std::string why) {
  state_ = State::Failed;
  failure_ = std::move(why);
}

}  // namespace pf
