#pragma once
// A row of dots, one per page, the current one solid. A tap left or right of the current dot moves
// one page that way and sends value changed. Main thread only.

#include <optional>

#include "platform/ui/Control.h"

namespace pf {

class PageControl : public Control {
  PF_OBJECT(PageControl, Control)

  PageControl();
  explicit PageControl(const Rect& frame);

  long numberOfPages() const { return pages_; }
  void setNumberOfPages(long pages);
  long currentPage() const { return current_; }
  // Clamped to the pages; no event.
  void setCurrentPage(long page);
  bool hidesForSinglePage() const { return hidesForSinglePage_; }
  void setHidesForSinglePage(bool hides);
  std::optional<Color> pageIndicatorTintColor() const { return dotTint_; }
  void setPageIndicatorTintColor(std::optional<Color> color);
  std::optional<Color> currentPageIndicatorTintColor() const { return currentTint_; }
  void setCurrentPageIndicatorTintColor(std::optional<Color> color);

  static Size sizeForNumberOfPages(long pages);
  Size sizeThatFits(Size size) const override;
  void endTracking(Point point) override;
  void drawRect(const Rect& rect) override;

 private:
  std::optional<Color> dotTint_;
  std::optional<Color> currentTint_;
  long pages_ = 0;
  long current_ = 0;
  bool hidesForSinglePage_ = false;
};

}  // namespace pf
