#include "platform/ui/TextBuffer.h"

#include <algorithm>

namespace pf {

void TextBuffer::setText(std::string text) {
  text_ = std::move(text);
  selection_ = {length(), 0};
}

void TextBuffer::setSelectedRange(utf16::Range range) {
  selection_ = wholeCharacters(range);
}

utf16::Range TextBuffer::wholeCharacters(utf16::Range range) const {
  const size_t total = length();
  const size_t start = std::min(range.location, total);
  const size_t end = std::min(total, start + std::min(range.length, total - start));
  // Boundaries at or before each end; an end inside a pair moves past it.
  const size_t startUnits = utf16::length(std::string_view(text_).substr(0, utf16::byteOffset(text_, start)));
  if (end == start) return {startUnits, 0};
  size_t endUnits = utf16::length(std::string_view(text_).substr(0, utf16::byteOffset(text_, end)));
  if (endUnits < end) endUnits = std::min(total, endUnits + 2);
  return {startUnits, endUnits - startUnits};
}

utf16::Range TextBuffer::rangeForDeletion() const {
  if (selection_.length > 0) return selection_;
  if (selection_.location == 0) return {0, 0};
  const size_t caretByte = utf16::byteOffset(text_, selection_.location);
  // Back to the start of the character before the caret.
  size_t startByte = caretByte - 1;
  while (startByte > 0 && (static_cast<unsigned char>(text_[startByte]) & 0xC0) == 0x80) --startByte;
  const size_t units = utf16::length(std::string_view(text_).substr(startByte, caretByte - startByte));
  return {selection_.location - units, units};
}

void TextBuffer::replace(utf16::Range range, std::string_view replacement) {
  const utf16::Range whole = wholeCharacters(range);
  const size_t from = utf16::byteOffset(text_, whole.location);
  const size_t to = utf16::byteOffset(text_, whole.location + whole.length);
  text_.replace(from, to - from, replacement);
  selection_ = {whole.location + utf16::length(replacement), 0};
}

}  // namespace pf
