#pragma once
// Reads the head of an HTTP/1.x response from bytes as they arrive, in pieces of any size. Interim
// (1xx) heads are skipped. A hostile or broken server cannot make it grow without bound: a head longer
// than kMaxHeadBytes, more than kMaxFieldCount fields or kMaxInterimHeads interim heads, a malformed
// status line or field, and a protocol switch (101, which was never asked for) fail the parse.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/net/HttpMessage.h"

namespace pf {

class HttpResponseHeadParser {
 public:
  static constexpr std::size_t kMaxHeadBytes = 64 * 1024;
  static constexpr std::size_t kMaxFieldCount = 100;
  static constexpr int kMaxInterimHeads = 16;

  enum class State { NeedMore, Complete, Failed };

  // Takes bytes until the final head is complete or the parse fails; answers how many it took (what
  // follows the head belongs to the body).
  std::size_t feed(std::string_view bytes);

  State state() const { return state_; }
  // The head, once complete.
  const std::shared_ptr<HttpMessage>& response() const { return response_; }
  // Why the parse failed.
  const std::string& failure() const { return failure_; }

 private:
  void takeLine(std::string_view line);
  bool takeStatusLine(std::string_view line);
  void takeField(std::string_view line);
  void endHead();
  void fail(std::string why);

  State state_ = State::NeedMore;
  std::string line_;
  std::size_t headBytes_ = 0;
  int interimHeads_ = 0;
  bool haveStatus_ = false;
  std::string version_;
  int statusCode_ = 0;
  std::string statusLine_;
  std::vector<HttpMessage::Field> fields_;
  std::shared_ptr<HttpMessage> response_;
  std::string failure_;
};

}  // namespace pf
