// URLs: parsing, every part, resolving references against a base, percent coding, and the request
// line and "Host" value the network code builds from a URL. Input: a URL, optionally a reference to
// resolve against it on the next line. A URL the parser accepts must never carry a line break or a
// space into a request line, and its own text must parse again.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/net/HttpMessage.h"
#include "platform/net/Url.h"

namespace {

void check(bool ok, const char* what, const pf::Url& url) {
  if (ok) return;
  std::fprintf(stderr, "%s: %s\n", what, url.absoluteString().c_str());
  std::abort();
}

bool hasLineBreakOrSpace(std::string_view text) {
  return text.find_first_of("\r\n \t") != std::string_view::npos || text.find('\0') != std::string_view::npos;
}

void readAll(const pf::Url& url) {
  (void)url.scheme();
  (void)url.host();
  (void)url.port();
  (void)url.portOrDefault();
  (void)url.user();
  (void)url.password();
  (void)url.path();
  (void)url.query();
  (void)url.fragment();
  const std::string target = url.requestTarget();
  check(!hasLineBreakOrSpace(target), "request target with a blank or line break", url);
  check(!hasLineBreakOrSpace(url.hostAndPort()), "host with a blank or line break", url);
  check(pf::Url::parse(url.absoluteString()).has_value(), "the URL's own text does not parse", url);
  if (auto request = pf::HttpMessage::makeRequest("GET", url)) {
    const std::string head = request->serializedHead();
    check(head.find("\r\n") == head.find_first_of("\r\n"), "request line split", url);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(bytes), size);
  const std::size_t end = input.find('\n');
  const std::string_view first = input.substr(0, end);
  const std::string_view second = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);

  (void)pf::Url::percentDecode(input);
  if (auto decoded = pf::Url::percentDecode(pf::Url::percentEncode(input))) {
    if (*decoded != input) {
      std::fprintf(stderr, "percent coding does not round trip\n");
      std::abort();
    }
  }
  const std::optional<pf::Url> url = pf::Url::parse(first);
  if (!url) return 0;
  readAll(*url);
  if (auto resolved = pf::Url::resolve(second, *url)) readAll(*resolved);
  return 0;
}
