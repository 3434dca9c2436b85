// Unit names from the server: the leading numbering taken off a name of any length and content, with
// no recursion that grows with it. The rest is valid UTF-8, no longer than the name read with each
// broken byte as U+FFFD.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/service/cms/ScoNameNumbering.h"
#include "platform/foundation/Utf8.h"

namespace {

bool isValidUtf8(const std::string& text) {
  for (std::size_t pos = 0; pos < text.size();) {
    const pf::utf8::Character c = pf::utf8::decode(text, pos);
    if (c.codePoint == pf::utf8::kReplacementCharacter && text.compare(pos, 3, "\xEF\xBF\xBD") != 0) return false;
    pos += c.size;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string name(reinterpret_cast<const char*>(data), size);
  const std::string rest = ScoNameNumbering::withoutNumbering(name);
  if (!isValidUtf8(rest) || rest.size() > size * 3) {
    std::fprintf(stderr, "bad rest of \"%s\"\n", name.c_str());
    std::abort();
  }
  (void)ScoNameNumbering::withoutNumbering(rest);
  return 0;
}
