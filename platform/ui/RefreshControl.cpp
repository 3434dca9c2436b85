#include "platform/ui/RefreshControl.h"

#include "platform/text/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"

namespace pf {

namespace {
bool refreshControlAvailable = true;
}  // namespace

bool RefreshControl::isAvailable() {
  return refreshControlAvailable;
}

void RefreshControl::setAvailable(bool available) {
  refreshControlAvailable = available;
}

RefreshControl::RefreshControl() : Control(Rect(0, -kHeight, 320, kHeight)) {
  setAutoresizingMask(kFlexibleWidth | kFlexibleBottomMargin);
  label_ = std::make_shared<Label>();
  label_->setFont(Font::systemFont(13));
  label_->setTextColor(Color::gray());
  label_->setTextAlignment(TextAlignment::center);
}

void RefreshControl::setAttributedTitle(std::optional<std::string> title) {
  title_ = std::move(title);
  label_->setText(title_);
}

void RefreshControl::layoutSubviews() {
  label_->setFrame(bounds());
  if (!label_->superview()) addSubview(label_);
}

void RefreshControl::beginRefreshing() {
  if (refreshing_) return;
  refreshing_ = true;
  if (auto scroll = std::dynamic_pointer_cast<ScrollView>(superview())) {
    EdgeInsets inset = scroll->contentInset();
    inset.top += kHeight;
    scroll->setContentInset(inset);
  }
}

void RefreshControl::endRefreshing() {
  if (!refreshing_) return;
  refreshing_ = false;
  if (auto scroll = std::dynamic_pointer_cast<ScrollView>(superview())) {
    EdgeInsets inset = scroll->contentInset();
    inset.top -= kHeight;
    scroll->setContentInset(inset);
    // A load that ends before the pull's animation has moved the content still sends it home.
    const auto heading = scroll->animatedOffsetTarget();
    const bool above = scroll->contentOffset().y < -inset.top || (heading && heading->y < -inset.top);
    if (!scroll->isDragging() && above)
      scroll->setContentOffset({scroll->contentOffset().x, -inset.top}, true);
  }
}

void RefreshControl::scrollViewDidScroll(ScrollView& scrollView) {
  setFrame(Rect(0, -kHeight, scrollView.bounds().width(), kHeight));
  if (refreshing_ || !scrollView.isDragging()) return;
  if (scrollView.contentOffset().y + scrollView.contentInset().top > -kHeight) return;
  beginRefreshing();
  sendActionsForControlEvents(kValueChanged);
}

}  // namespace pf
