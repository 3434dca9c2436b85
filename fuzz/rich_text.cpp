// Rich-text markup: the label's line-break step, the tag parser, the stripping parser, the cut around
// web addresses and the colour readers. Input: markup as a user's text inside the blog forms may make
// it. Every span must lie inside the plain text and carry exactly the text found there; a markup with
// no "<" must come back unchanged.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/components/richlabel/RichLabelColor.h"
#include "app/components/richlabel/RichLabelMarkupParser.h"
#include "platform/foundation/Utf16.h"

namespace {

void check(bool ok, const char* what, std::string_view markup) {
  if (ok) return;
  std::fprintf(stderr, "%s: %.*s\n", what, static_cast<int>(markup.size()), markup.data());
  std::abort();
}

void checkSpans(const RichLabelExtractedComponent& parsed, std::string_view markup) {
  const std::size_t length = pf::utf16::length(parsed.plainText);
  for (const auto& span : parsed.textComponents) {
    if (span->position == RichLabelComponent::kNotFound) {
      check(!span->text, "a span never found has text", markup);
      continue;
    }
    check(span->position >= 0 && static_cast<std::size_t>(span->position) <= length, "span outside the text", markup);
    if (!span->text) continue;
    const pf::utf16::Range range{static_cast<std::size_t>(span->position), pf::utf16::length(*span->text)};
    check(range.location + range.length <= length, "span text runs past the text", markup);
    check(pf::utf16::substring(parsed.plainText, range) == *span->text, "span text differs from the text", markup);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string markup(reinterpret_cast<const char*>(data), size);
  const std::string broken = RichLabelMarkupParser::applyLineBreaks(markup);
  const auto parsed = RichLabelMarkupParser::extract(broken, "\n");
  checkSpans(*parsed, markup);
  if (broken.find('<') == std::string::npos) {
    check(parsed->textComponents.empty(), "spans without a tag", markup);
    check(parsed->plainText == pf::utf16::decode(pf::utf16::encode(broken)), "text without tags changed", markup);
  }
  checkSpans(*RichLabelMarkupParser::extract(markup, "<p>"), markup);
  (void)RichLabelMarkupParser::strip(markup, {"b", "font"});
  (void)RichLabelMarkupParser::linkPieces(markup);
  (void)RichLabelColor::colorForHex(markup);
  (void)RichLabelColor::applyColorWithValue(markup);
  (void)RichLabelColor::textColor(markup);
  return 0;
}
