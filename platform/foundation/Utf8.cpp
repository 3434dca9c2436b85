#include "platform/foundation/Utf8.h"

#include <algorithm>
#include <iterator>

namespace pf::utf8 {
namespace {

// The multi-byte forms by their lead byte; a value below `smallest` is an overlong form.
struct Form {
  unsigned char leadMask;
  unsigned char leadBits;
  std::size_t size;
  char32_t smallest;
};
constexpr Form kForms[] = {{0xE0, 0xC0, 2, 0x80}, {0xF0, 0xE0, 3, 0x800}, {0xF8, 0xF0, 4, 0x10000}};

bool isContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

bool isSurrogate(char32_t c) {
  return c >= 0xD800 && c <= 0xDFFF;
}

}  // namespace

Character decode(std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x80) return {lead, 1};
  const auto form = std::find_if(std::begin(kForms), std::end(kForms),
                                 [lead](const Form& f) { return (lead & f.leadMask) == f.leadBits; });
  if (form == std::end(kForms) || text.size() - pos < form->size) return {kReplacementCharacter, 1};
  char32_t value = lead & ~form->leadMask;
  for (std::size_t i = 1; i < form->size; ++i) {
    const auto byte = static_cast<unsigned char>(text[pos + i]);
    if (!isContinuation(byte)) return {kReplacementCharacter, 1};
    value = (value << 6) | (byte & 0x3F);
  }
  if (value < form->smallest || value > 0x10FFFF || isSurrogate(value)) return {kReplacementCharacter, 1};
  return {value, form->size};
}

void append(std::string& out, char32_t c) {
  if (c > 0x10FFFF || isSurrogate(c)) c = kReplacementCharacter;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace pf::utf8
