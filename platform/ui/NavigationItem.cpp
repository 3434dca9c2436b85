#include "platform/ui/NavigationItem.h"

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/View.h"

namespace pf {

NavigationItem::NavigationItem() = default;

NavigationItem::NavigationItem(std::optional<std::string> title) : title_(std::move(title)) {}

void NavigationItem::setTitle(std::optional<std::string> title) {
  title_ = std::move(title);
  changed();
}

void NavigationItem::setPrompt(std::optional<std::string> prompt) {
  prompt_ = std::move(prompt);
  changed();
}

void NavigationItem::setTitleView(std::shared_ptr<View> view) {
  if (titleView_ && titleView_ != view) titleView_->removeFromSuperview();
  titleView_ = std::move(view);
  changed();
}

void NavigationItem::setBackBarButtonItem(std::shared_ptr<BarButtonItem> item) {
  backItem_ = std::move(item);
  changed();
}

void NavigationItem::setHidesBackButton(bool hides, bool animated) {
  (void)animated;
  hidesBackButton_ = hides;
  changed();
}

std::shared_ptr<BarButtonItem> NavigationItem::leftBarButtonItem() const {
  return left_.empty() ? nullptr : left_.front();
}

void NavigationItem::setLeftBarButtonItem(std::shared_ptr<BarButtonItem> item, bool animated) {
  setLeftBarButtonItems(item ? std::vector{std::move(item)} : std::vector<std::shared_ptr<BarButtonItem>>{},
                        animated);
}

void NavigationItem::setLeftBarButtonItems(std::vector<std::shared_ptr<BarButtonItem>> items, bool animated) {
  (void)animated;
  left_ = std::move(items);
  changed();
}

std::shared_ptr<BarButtonItem> NavigationItem::rightBarButtonItem() const {
  return right_.empty() ? nullptr : right_.front();
}

void NavigationItem::setRightBarButtonItem(std::shared_ptr<BarButtonItem> item, bool animated) {
  setRightBarButtonItems(item ? std::vector{std::move(item)} : std::vector<std::shared_ptr<BarButtonItem>>{},
                         animated);
}

void NavigationItem::setRightBarButtonItems(std::vector<std::shared_ptr<BarButtonItem>> items,
                                            bool animated) {
  (void)animated;
  right_ = std::move(items);
  changed();
}

void NavigationItem::changed() {
  if (changed_) changed_();
}

}  // namespace pf
