#pragma once
// An HTTP/1.x message: a request (method, URL, version, header fields, body) the network code sends, or
// the head of a response it received (version, status, status line, header fields). Header names must
// be tokens and values may hold neither CR, LF nor NUL: anything else is refused, so no caller can
// inject a header or split the message. Field names are matched without regard to case.
// A message is not synchronised: it belongs to one thread at a time. Received responses are made whole
// by the parser and never change afterwards.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Value.h"
#include "platform/net/Url.h"

namespace pf {

class HttpMessage {
 public:
  static constexpr char kVersion1_0[] = "HTTP/1.0";
  static constexpr char kVersion1_1[] = "HTTP/1.1";

  struct Field {
    std::string name;
    std::string value;
  };

  // nullptr when the method is no token or the version is neither of the two above.
  static std::shared_ptr<HttpMessage> makeRequest(std::string_view method, const Url& url,
                                                  std::string_view version = kVersion1_1);
  // A received head; the fields are taken as they are (the parser has checked them).
  static std::shared_ptr<HttpMessage> makeResponse(std::string version, int statusCode,
                                                   std::string statusLine, std::vector<Field> fields);

  static bool isToken(std::string_view text);
  static bool isValidFieldValue(std::string_view value);
  // "content-length" -> "Content-Length", "ETAG" -> "Etag": each dash-separated word capitalised.
  static std::string canonicalFieldName(std::string_view name);

  bool isRequest() const { return isRequest_; }
  const std::string& version() const { return version_; }

  // Request side.
  const std::string& method() const { return method_; }
  const Url& url() const { return *url_; }
  // Replaces every field of that name; false (and nothing changed) for a refused name or value.
  bool setHeaderField(std::string_view name, std::string_view value);
  void setBody(Data body) { body_ = std::move(body); }
  const Data& body() const { return body_; }
  // The head as sent: request line, "Host" unless set, the fields in the order set, then `added`.
  std::string serializedHead(const std::vector<Field>& added = {}) const;

  // Response side.
  int statusCode() const { return statusCode_; }
  // The whole first line, "HTTP/1.1 200 OK".
  const std::string& statusLine() const { return statusLine_; }

  // Values of all fields of that name joined with ", "; nullopt when there is none.
  std::optional<std::string> headerField(std::string_view name) const;
  const std::vector<Field>& headerFields() const { return fields_; }
  // Canonical names to joined values.
  Dictionary allHeaderFields() const;

 private:
  HttpMessage() = default;

  bool isRequest_ = false;
  std::string version_;
  std::string method_;
  std::optional<Url> url_;
  int statusCode_ = 0;
  std::string statusLine_;
  std::vector<Field> fields_;
  Data body_;
};

}  // namespace pf
