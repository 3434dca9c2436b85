// Pages from the network read as the web view shows them: any bytes as HTML, recovered, into a title,
// the body's markup and blocks of text. Block text is valid UTF-8 (broken bytes read as U+FFFD) and
// every link's range lies inside its block's text, is not empty and splits no surrogate pair.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/foundation/Utf16.h"
#include "platform/foundation/Utf8.h"
#include "platform/ui/HtmlPage.h"

namespace {

[[noreturn]] void webHtmlFail(const char* what, const std::string& text) {
  std::fprintf(stderr, "%s: \"%s\"\n", what, text.c_str());
  std::abort();
}

bool webHtmlValidUtf8(const std::string& text) {
  for (std::size_t pos = 0; pos < text.size();) {
    const pf::utf8::Character c = pf::utf8::decode(text, pos);
    if (c.codePoint == pf::utf8::kReplacementCharacter && text.compare(pos, 3, "\xEF\xBF\xBD") != 0) return false;
    pos += c.size;
  }
  return true;
}

bool webHtmlSplitsPair(const std::u16string& units, std::size_t index) {
  return index > 0 && index < units.size() && units[index - 1] >= 0xD800 && units[index - 1] <= 0xDBFF &&
         units[index] >= 0xDC00 && units[index] <= 0xDFFF;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const pf::HtmlPage page = pf::HtmlPage::read(std::string(reinterpret_cast<const char*>(data), size));
  for (const auto& block : page.blocks) {
    if (block.text.empty()) webHtmlFail("empty block", block.text);
    if (!webHtmlValidUtf8(block.text)) webHtmlFail("broken UTF-8 in a block", block.text);
    const std::u16string units = pf::utf16::encode(block.text);
    for (const auto& link : block.links) {
      const std::size_t end = link.range.location + link.range.length;
      if (link.range.length == 0 || end > units.size() || webHtmlSplitsPair(units, link.range.location) ||
          webHtmlSplitsPair(units, end)) {
        std::fprintf(stderr, "link %zu+%zu in a block of %zu units\n", link.range.location, link.range.length,
                     units.size());
        webHtmlFail("link off its text", block.text);
      }
    }
  }
  return 0;
}
