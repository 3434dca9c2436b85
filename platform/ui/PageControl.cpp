#include "platform/ui/PageControl.h"

#include <algorithm>

#include "platform/graphics/GraphicsContext.h"
#include "platform/ui/CurrentContext.h"

namespace pf {

namespace {

constexpr double kDot = 7;
constexpr double kSpacing = 9;

}  // namespace

PageControl::PageControl() : PageControl(Rect()) {}

PageControl::PageControl(const Rect& frame) : Control(frame) {
  setOpaque(false);
}

void PageControl::setNumberOfPages(long pages) {
  pages_ = std::max(0L, pages);
  current_ = std::clamp(current_, 0L, std::max(0L, pages_ - 1));
  setNeedsDisplay();
}

void PageControl::setCurrentPage(long page) {
  current_ = std::clamp(page, 0L, std::max(0L, pages_ - 1));
  setNeedsDisplay();
}

void PageControl::setHidesForSinglePage(bool hides) {
  hidesForSinglePage_ = hides;
  setNeedsDisplay();
}

void PageControl::setPageIndicatorTintColor(std::optional<Color> color) {
  dotTint_ = color;
  setNeedsDisplay();
}

void PageControl::setCurrentPageIndicatorTintColor(std::optional<Color> color) {
  currentTint_ = color;
  setNeedsDisplay();
}

Size PageControl::sizeForNumberOfPages(long pages) {
  return {pages > 0 ? static_cast<double>(pages) * (kDot + kSpacing) - kSpacing : 0, 36};
}

Size PageControl::sizeThatFits(Size size) const {
  (void)size;
  return sizeForNumberOfPages(pages_);
}

void PageControl::endTracking(Point point) {
  if (!bounds().contains(point) || pages_ < 2) return;
  const double dotsWidth = sizeForNumberOfPages(pages_).width;
  const double currentX =
      bounds().midX() - dotsWidth / 2 + static_cast<double>(current_) * (kDot + kSpacing) + kDot / 2;
  const long next = std::clamp(current_ + (point.x < currentX ? -1 : 1), 0L, pages_ - 1);
  if (next == current_) return;
  auto self = sharedAs<PageControl>();
  setCurrentPage(next);
  sendActionsForControlEvents(kValueChanged);
}

void PageControl::drawRect(const Rect& rect) {
  (void)rect;
  GraphicsContext* context = CurrentContext::get();
  if (!context || pages_ == 0 || (hidesForSinglePage_ && pages_ == 1)) return;
  const double left = bounds().midX() - sizeForNumberOfPages(pages_).width / 2;
  for (long page = 0; page < pages_; ++page) {
    const bool current = page == current_;
    context->setFillColor(current ? currentTint_.value_or(Color::white())
                                  : dotTint_.value_or(Color::fromWhite(1, 0.35)));
    context->fillEllipse(
        {{left + static_cast<double>(page) * (kDot + kSpacing), bounds().midY() - kDot / 2}, {kDot, kDot}});
  }
}

}  // namespace pf
