#include "platform/text/TextAttributes.h"

namespace pf {

namespace {

bool sameFont(const std::shared_ptr<const Font>& a, const std::shared_ptr<const Font>& b) {
  if (a == b) return true;
  if (!a || !b) return false;
  return a->familyName() == b->familyName() && a->pointSize() == b->pointSize() &&
         a->isBold() == b->isBold() && a->isItalic() == b->isItalic();
}

}  // namespace

bool TextAttributes::operator==(const TextAttributes& other) const {
  return sameFont(font, other.font) && foregroundColor == other.foregroundColor &&
         underline == other.underline && underlineColor == other.underlineColor &&
         strokeWidth == other.strokeWidth && kern == other.kern && paragraphStyle == other.paragraphStyle &&
         link == other.link;
}

}  // namespace pf
