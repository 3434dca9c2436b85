#pragma once
// Reads the rich-text label's tag markup: "<br>" line breaks, start and end tags with attributes,
// paragraph tags and the entities "&lt;" and "&gt;". The parser walks the markup tag by tag, removes
// each tag it finds from the working text and records a span per start tag, closing the latest open
// span of the same name at each end tag. Entities are decoded once, after the last tag, so text that
// was escaped before it entered the markup can neither close a span nor open one. Positions count
// UTF-16 units; nothing is ever read outside the text, whatever the input.
//
// Stateless; any thread.

#include <string>
#include <string_view>
#include <vector>

#include "app/components/richlabel/RichLabelExtractedComponent.h"

class RichLabelMarkupParser {
 public:
  // Every "<br>" (exactly so) becomes a line break; other break tags are ordinary tags.
  static std::string applyLineBreaks(std::string_view markup);
  // The spans and plain text of the markup; a tag whose name begins with "p" leaves the replacement.
  static RichLabelExtractedComponentPtr extract(std::string_view markup, std::string_view paragraphReplacement);

  // The stripping reading: tags named in validTags stay in the text; every other tag is removed and
  // gives a span of the text before it.
  struct Stripped {
    std::vector<RichLabelComponentPtr> textComponents;
    std::string plainText;
  };
  static Stripped strip(std::string_view markup, const std::vector<std::string>& validTags);

  // The text cut into pieces around web addresses ("http…" up to the next space, without a
  // trailing punctuation mark).
  static std::vector<std::string> linkPieces(std::string_view text);
};
