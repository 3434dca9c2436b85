#pragma once
// A font: a family, bold and italic traits and a point size, with the metrics of the face that
// renders it. The system font is the fontconfig match for Simplified Chinese sans-serif text, so
// Chinese and Latin text both render. Names follow the platform's "Family-Style" form
// ("Helvetica-Bold"); families the app names from the original platform (Helvetica, Arial, Heiti)
// stand for the system family, other unknown names have no font. Fonts are immutable and shared.

#include <memory>
#include <string>
#include <string_view>

namespace pf {

class Font {
 public:
  static std::shared_ptr<const Font> systemFont(double size);
  static std::shared_ptr<const Font> boldSystemFont(double size);
  static std::shared_ptr<const Font> italicSystemFont(double size);
  // The point size of the platform's small system text (12).
  static constexpr double smallSystemFontSize() { return 12; }
  // nullptr when no installed family answers the name.
  static std::shared_ptr<const Font> withName(std::string_view name, double size);
  // The named font, or the system font of that size when there is none.
  static std::shared_ptr<const Font> withNameOrSystem(std::string_view name, double size);
  static const std::string& systemFamilyName();

  // "Family", "Family-Bold", "Family-Italic" or "Family-BoldItalic".
  std::string fontName() const;
  const std::string& familyName() const { return family_; }
  double pointSize() const { return size_; }
  bool isBold() const { return bold_; }
  bool isItalic() const { return italic_; }

  // Distances from the baseline: ascender upwards (positive), descender downwards (negative).
  double ascender() const { return ascender_; }
  double descender() const { return descender_; }
  double leading() const { return leading_; }
  // ascender - descender + leading.
  double lineHeight() const { return ascender_ - descender_ + leading_; }

  std::shared_ptr<const Font> withSize(double size) const;
  // Faces without a bold or italic style are emboldened or slanted when drawn.
  std::shared_ptr<const Font> withTraits(bool bold, bool italic) const;

  // The Pango description text of the font ("Family Bold Italic 15px" form); for the text layer.
  std::string pangoDescription() const;

  Font(std::string family, double size, bool bold, bool italic);

 private:
  std::string family_;
  double size_;
  bool bold_;
  bool italic_;
  double ascender_ = 0;
  double descender_ = 0;
  double leading_ = 0;
};

}  // namespace pf
