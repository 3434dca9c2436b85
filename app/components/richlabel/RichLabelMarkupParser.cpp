#include "app/components/richlabel/RichLabelMarkupParser.h"

#include <algorithm>
#include <optional>

#include "platform/foundation/Utf16.h"

namespace {

using U16 = std::u16string;
constexpr std::size_t kNone = U16::npos;

bool isMarkupSpace(char16_t c) {
  return c == u' ' || c == u'\t' || (c >= 0x0A && c <= 0x0D) || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
         c == 0x3000;
}

bool hasContentFrom(const U16& text, std::size_t from) {
  for (std::size_t i = from; i < text.size(); ++i) {
    if (!isMarkupSpace(text[i])) return true;
  }
  return false;
}

char16_t foldAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

U16 lowerAscii(U16 text) {
  for (auto& c : text) c = foldAscii(c);
  return text;
}

bool startsWith(const U16& text, std::u16string_view prefix) {
  return text.size() >= prefix.size() && std::u16string_view(text).substr(0, prefix.size()) == prefix;
}

bool matchesFolded(const U16& text, std::size_t at, const U16& needle) {
  if (at + needle.size() > text.size()) return false;
  for (std::size_t i = 0; i < needle.size(); ++i) {
    if (foldAscii(text[at + i]) != foldAscii(needle[i])) return false;
  }
  return true;
}

// Replaces every case-blind occurrence of the needle inside [from, to) of the text.
void replaceFoldedInWindow(U16& text, std::size_t from, std::size_t to, const U16& needle, const U16& with) {
  if (needle.empty() || from > to || to > text.size()) return;
  U16 window;
  std::size_t i = from;
  while (i < to) {
    if (i + needle.size() <= to && matchesFolded(text, i, needle)) {
      window += with;
      i += needle.size();
    } else {
      window += text[i++];
    }
  }
  text.replace(from, to - from, window);
}

std::vector<U16> splitAt(const U16& text, char16_t separator) {
  std::vector<U16> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = text.find(separator, start);
    if (at == kNone) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, at - start));
    start = at + 1;
  }
}

std::string utf8(const U16& text) { return pf::utf16::decode(text); }

// The tag text of one pass: from the next "<" up to the next ">" (or the end); the cursor stops on
// that ">". Without a further "<" the cursor goes to the end and the previous tag text stays.
void nextTagText(const U16& markup, std::size_t& cursor, std::optional<U16>& tag) {
  const std::size_t open = markup.find(u'<', cursor);
  if (open == kNone) {
    cursor = markup.size();
    return;
  }
  const std::size_t close = markup.find(u'>', open);
  const std::size_t end = close == kNone ? markup.size() : close;
  tag = markup.substr(open, end - open);
  cursor = end;
}

RichLabelComponent::Attributes startTagAttributes(const std::vector<U16>& pieces) {
  RichLabelComponent::Attributes attributes;
  for (std::size_t i = 1; i < pieces.size(); ++i) {
    const auto parts = splitAt(pieces[i], u'=');
    const U16 key = lowerAscii(parts[0]);
    U16 value = key;
    if (parts.size() >= 2) {
      value = parts[1];
      for (std::size_t j = 2; j < parts.size(); ++j) value += u'=' + parts[j];
      if (!value.empty() && value.front() == u'"') value.erase(0, 1);
      if (!value.empty() && value.back() == u'"') value.pop_back();
    }
    attributes[utf8(key)] = utf8(value);
  }
  return attributes;
}

std::vector<U16> startTagPieces(const U16& tag) {
  if (startsWith(tag, u"<a href")) return {U16(u"a"), tag.substr(3)};
  return splitAt(tag.substr(1), u' ');
}

// Entities of the working text decoded in one sweep; `shift` maps an undecoded index to a decoded one.
struct EntityDecoding {
  U16 text;
  std::vector<std::size_t> removedBefore;  // units removed before each undecoded index

  explicit EntityDecoding(const U16& source) : removedBefore(source.size() + 1, 0) {
    std::size_t removed = 0;
    std::size_t i = 0;
    while (i < source.size()) {
      removedBefore[i] = removed;
      if (source.compare(i, 4, u"&lt;") == 0 || source.compare(i, 4, u"&gt;") == 0) {
        text += source[i + 1] == u'l' ? u'<' : u'>';
        for (std::size_t k = 1; k < 4; ++k) removedBefore[i + k] = removed;
        removed += 3;
        i += 4;
      } else {
        text += source[i++];
      }
    }
    removedBefore[source.size()] = removed;
  }
  std::size_t shift(std::size_t index) const {
    return index - removedBefore[std::min(index, removedBefore.size() - 1)];
  }
};

class MarkupExtraction {
 public:
  MarkupExtraction(std::string_view markup, std::string_view paragraphReplacement)
      : markup_(pf::utf16::encode(markup)), text_(markup_), paragraph_(pf::utf16::encode(paragraphReplacement)) {}

  RichLabelExtractedComponentPtr run() {
    while (hasContentFrom(markup_, cursor_)) pass();
    return finish();
  }

 private:
  struct OpenSpan {
    RichLabelComponentPtr span;
    std::size_t position;  // undecoded index, or kNone
    std::optional<std::size_t> end;
  };

  void pass() {
    nextTagText(markup_, cursor_, tag_);
    std::size_t found = kNone;
    if (tag_) {
      const U16 delimiter = *tag_ + u'>';
      found = text_.find(delimiter);
      if (found != kNone) removeTag(delimiter, found);
    }
    if (!tag_ || startsWith(*tag_, u"</")) {
      closeSpan(found);
    } else {
      openSpan(found);
    }
    previous_ = found;
  }

  void removeTag(const U16& delimiter, std::size_t found) {
    anyTagFound_ = true;
    const U16 replacement = startsWith(delimiter, u"<p") ? paragraph_ : U16();
    // The window starts at the previous tag's place; when that lies after this tag (or was not
    // found) only this tag is removed.
    const std::size_t from = previous_ <= found ? previous_ : found;
    replaceFoldedInWindow(text_, from, found + delimiter.size(), delimiter, replacement);
  }

  void closeSpan(std::size_t found) {
    if (found == kNone || !tag_ || tag_->size() < 2) return;
    const std::string name = utf8(tag_->substr(2));
    for (auto it = spans_.rbegin(); it != spans_.rend(); ++it) {
      if (it->end || it->span->tagLabel != name) continue;
      if (it->position != kNone && it->position <= found && found <= text_.size()) it->end = found;
      return;
    }
  }

  void openSpan(std::size_t found) {
    const auto pieces = startTagPieces(*tag_);
    spans_.push_back({RichLabelComponent::componentWithTag(utf8(pieces[0]), RichLabelComponent::kNotFound,
                                                           startTagAttributes(pieces)),
                      found, std::nullopt});
  }

  RichLabelExtractedComponentPtr finish() {
    // A markup without any tag found keeps its entities as written.
    const EntityDecoding decoded(anyTagFound_ ? text_ : U16());
    const U16& plain = anyTagFound_ ? decoded.text : text_;
    std::vector<RichLabelComponentPtr> list;
    for (auto& open : spans_) {
      auto& span = *open.span;
      if (open.position != kNone && open.position <= text_.size()) {
        const std::size_t start = anyTagFound_ ? decoded.shift(open.position) : open.position;
        span.position = static_cast<int>(start);
        if (open.end) {
          const std::size_t end = anyTagFound_ ? decoded.shift(*open.end) : *open.end;
          span.text = utf8(plain.substr(start, end >= start ? end - start : 0));
        }
      }
      list.push_back(open.span);
    }
    return RichLabelExtractedComponent::richLabelExtractComponentsWithTextComponent(std::move(list), utf8(plain));
  }

  const U16 markup_;
  U16 text_;
  const U16 paragraph_;
  std::vector<OpenSpan> spans_;
  std::optional<U16> tag_;
  std::size_t cursor_ = 0;
  std::size_t previous_ = 0;
  bool anyTagFound_ = false;
};

bool isPunctuationMark(char16_t c) {
  if (c < 0x80) {
    return std::u16string_view(u"!\"#%&'()*,-./:;?@[\\]_{}").find(c) != std::u16string_view::npos;
  }
  return c == 0xA1 || c == 0xA7 || c == 0xAB || c == 0xB6 || c == 0xB7 || c == 0xBB || c == 0xBF ||
         (c >= 0x2010 && c <= 0x2027) || (c >= 0x2030 && c <= 0x205E) || (c >= 0x3001 && c <= 0x3003) ||
         (c >= 0x3008 && c <= 0x3011) || (c >= 0x3014 && c <= 0x301F) || c == 0x30FB ||
         (c >= 0xFF01 && c <= 0xFF0F && c != 0xFF04 && c != 0xFF0B) || c == 0xFF1A || c == 0xFF1B ||
         c == 0xFF1F || c == 0xFF20 || (c >= 0xFF3B && c <= 0xFF3D) || c == 0xFF3F || c == 0xFF5B ||
         c == 0xFF5D || (c >= 0xFF5F && c <= 0xFF65);
}

}  // namespace

std::string RichLabelMarkupParser::applyLineBreaks(std::string_view markup) {
  std::string out;
  out.reserve(markup.size());
  std::size_t i = 0;
  while (i < markup.size()) {
    if (markup.compare(i, 4, "<br>") == 0) {
      out += '\n';
      i += 4;
    } else {
      out += markup[i++];
    }
  }
  return out;
}

RichLabelExtractedComponentPtr RichLabelMarkupParser::extract(std::string_view markup,
                                                              std::string_view paragraphReplacement) {
  return MarkupExtraction(markup, paragraphReplacement).run();
}

RichLabelMarkupParser::Stripped RichLabelMarkupParser::strip(std::string_view markup,
                                                             const std::vector<std::string>& validTags) {
  const U16 source = pf::utf16::encode(markup);
  U16 text = source;
  Stripped out;
  std::optional<U16> tag;
  RichLabelComponent::Attributes remembered;
  std::size_t cursor = 0;
  std::size_t previous = 0;
  while (hasContentFrom(source, cursor)) {
    nextTagText(source, cursor, tag);
    const U16 written = tag.value_or(U16());
    const bool isEnd = written.find(u"</") != kNone;
    U16 name = isEnd ? written.substr(std::min<std::size_t>(2, written.size()))
                     : written.substr(std::min<std::size_t>(1, written.size()));
    RichLabelComponent::Attributes attributes;
    if (!isEnd && name.find(u' ') != kNone) {
      const auto pieces = splitAt(name, u' ');
      for (std::size_t i = 1; i < pieces.size(); ++i) {
        const auto parts = splitAt(pieces[i], u'=');
        if (parts.size() == 2) attributes[utf8(parts[0])] = utf8(parts[1]);
      }
      name = pieces[0];
    }
    if (tag && std::find(validTags.begin(), validTags.end(), utf8(name)) != validTags.end()) continue;
    const U16 delimiter = written + u'>';
    const std::size_t found = tag ? text.find(delimiter) : kNone;
    std::optional<std::string> spanTag;
    if (delimiter.find(u"</") != kNone) spanTag = utf8(name);
    if (found != kNone) {
      const std::size_t from = std::min(previous, found);
      out.textComponents.push_back(
          RichLabelComponent::componentWithString(utf8(text.substr(from, found - from)), spanTag, remembered));
      replaceFoldedInWindow(text, from, found + delimiter.size(), delimiter, U16());
      previous = found;
    } else {
      const std::size_t from = std::min(previous, text.size());
      out.textComponents.push_back(
          RichLabelComponent::componentWithString(utf8(text.substr(from)), std::nullopt, remembered));
    }
    remembered = std::move(attributes);
  }
  out.plainText = utf8(text);
  return out;
}

std::vector<std::string> RichLabelMarkupParser::linkPieces(std::string_view source) {
  const U16 text = pf::utf16::encode(source);
  std::vector<std::string> pieces;
  std::size_t cursor = 0;
  auto upToSpace = [&](std::size_t from) {
    const std::size_t space = text.find(u' ', from);
    return space == kNone ? text.size() : space;
  };
  while (cursor < text.size()) {
    if (text.compare(cursor, 4, u"http") == 0) {
      const std::size_t end = upToSpace(cursor);
      pieces.push_back(utf8(text.substr(cursor, end - cursor)));
      cursor = end;
      continue;
    }
    const std::size_t link = text.find(u"http", cursor);
    const std::size_t before = link == kNone ? text.size() : link;
    pieces.push_back(utf8(text.substr(cursor, before - cursor)));
    cursor = before;
    if (cursor >= text.size()) break;
    std::size_t end = upToSpace(cursor);
    U16 piece = text.substr(cursor, end - cursor);
    if (!piece.empty() && isPunctuationMark(piece.back())) {
      piece.pop_back();
      --end;
    }
    pieces.push_back(utf8(piece));
    cursor = end;
  }
  return pieces;
}
