#pragma once
// Text with styling over ranges counted in UTF-16 units, as the platform counts them (a Chinese
// character is one unit, an emoji beyond the basic plane two). The text is kept as valid UTF-8:
// broken bytes and NUL characters become replacement characters, one unit each. Ranges are clipped to the
// text, and a range edge inside a surrogate pair styles the whole character.

#include "platform/foundation/Utf16.h"
#include "platform/text/TextAttributes.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pf {

class AttributedString {
 public:
  struct Run {
    utf16::Range range;
    TextAttributes attributes;
  };

  explicit AttributedString(std::string_view text = {}, const TextAttributes& attributes = {});

  const std::string& string() const { return text_; }
  std::size_t length() const { return length_; }
  // Consecutive runs covering the text, neighbours always different.
  const std::vector<Run>& runs() const { return runs_; }

  // The attributes at the unit index (clamped to the text) and the run's range.
  const TextAttributes& attributesAt(std::size_t index, utf16::Range* effectiveRange = nullptr) const;

  // Applies the change to the attributes over the range.
  void update(utf16::Range range, const std::function<void(TextAttributes&)>& change);
  void setAttributes(utf16::Range range, const TextAttributes& attributes);
  void setFont(utf16::Range range, std::shared_ptr<const Font> font);
  void setForegroundColor(utf16::Range range, const Color& color);
  void setUnderline(utf16::Range range, UnderlineStyle style, std::optional<Color> color = std::nullopt);
  void setKern(utf16::Range range, double kern);
  void setParagraphStyle(utf16::Range range, const ParagraphStyle& style);
  void setLink(utf16::Range range, std::string link);

  void append(const AttributedString& other);

 private:
  void merge();

  std::string text_;
  std::size_t length_ = 0;
  std::vector<Run> runs_;
};

}  // namespace pf
