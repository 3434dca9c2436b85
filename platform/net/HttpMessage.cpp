#include "platform/net/HttpMessage.h"

#include <cctype>

#include "platform/foundation/TextHelpers.h"

namespace pf {

std::shared_ptr<HttpMessage> HttpMessage::makeRequest(std::string_view method, const Url& url,
                                                      std::string_view version) {
  if (!isToken(method) || (version != kVersion1_0 && version != kVersion1_1)) return nullptr;
  std::shared_ptr<HttpMessage> message(new HttpMessage());
  message->isRequest_ = true;
  message->method_ = std::string(method);
  message->url_ = url;
  message->version_ = std::string(version);
  return message;
}

std::shared_ptr<HttpMessage> HttpMessage::makeResponse(std::string version, int statusCode,
                                                       std::string statusLine, std::vector<Field> fields) {
  std::shared_ptr<HttpMessage> message(new HttpMessage());
  message->version_ = std::move(version);
  message->statusCode_ = statusCode;
  message->statusLine_ = std::move(statusLine);
  message->fields_ = std::move(fields);
  return message;
}

bool HttpMessage::isToken(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (!std::isalnum(u) && std::string_view("!#$%&'*+-.^_`|~").find(c) == std::string_view::npos) {
      return false;
    }
  }
  return true;
}

bool HttpMessage::isValidFieldValue(std::string_view value) {
  return value.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

std::string HttpMessage::canonicalFieldName(std::string_view name) {
  std::string out(name);
  bool startOfWord = true;
  for (char& c : out) {
    const auto u = static_cast<unsigned char>(c);
    c = static_cast<char>(startOfWord ? std::toupper(u) : std::tolower(u));
    startOfWord = c == '-';
  }
  return out;
}

bool HttpMessage::setHeaderField(std::string_view name, std::string_view value) {
  if (!isToken(name) || !isValidFieldValue(value)) return false;
  std::erase_if(fields_, [&](const Field& f) { return text::equalsIgnoringCase(f.name, name); });
  fields_.push_back(Field{std::string(name), std::string(value)});
  return true;
}

std::string HttpMessage::serializedHead(const std::vector<Field>& added) const {
  std::string head = method_ + " " + url_->requestTarget() + " " + version_ + "\r\n";
  if (!headerField("Host")) head += "Host: " + url_->hostAndPort() + "\r\n";
  for (const auto* list : {&fields_, &added}) {
    for (const Field& f : *list) head += f.name + ": " + f.value + "\r\n";
  }
  return head + "\r\n";
}

std::optional<std::string> HttpMessage::headerField(std::string_view name) const {
  std::optional<std::string> joined;
  for (const Field& f : fields_) {
    if (!text::equalsIgnoringCase(f.name, name)) continue;
    joined = joined ? *joined + ", " + f.value : f.value;
  }
  return joined;
}

Dictionary HttpMessage::allHeaderFields() const {
  Dictionary all;
  for (const Field& f : fields_) {
    const std::string name = canonicalFieldName(f.name);
    if (auto it = all.find(name); it != all.end()) {
      it->second = *it->second.string() + ", " + f.value;
    } else {
      all.emplace(name, f.value);
    }
  }
  return all;
}

}  // namespace pf
