#include "app/controller/ans/AnsTabBar.h"

#include "app/controller/ans/AnsTabBarDelegate.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"

std::shared_ptr<pf::Button> AnsTabBar::buttonWithTag(int tag) {
  return std::dynamic_pointer_cast<pf::Button>(viewWithTag(tag));
}

void AnsTabBar::awakeFromNib() {
  pf::View::awakeFromNib();
  items.clear();
  for (int tag = kFirstItemTag;; tag += 100) {
    auto item = buttonWithTag(tag);
    if (!item) break;
    items.push_back(item);
  }
  setCurrentItemTag(kFirstItemTag);
}

void AnsTabBar::setItemTitle(const std::string& title, int index) {
  auto companion = buttonWithTag(index * 100 + 102);
  if (!companion) return;
  for (unsigned state : {pf::Control::kNormal, pf::Control::kHighlighted, pf::Control::kSelected})
    companion->setTitle(title, state);
}

void AnsTabBar::changeSubItemsStateOfItem(pf::Button& item, int state) {
  for (int offset = 1; offset <= 3; ++offset) {
    auto companion = buttonWithTag(item.tag() - offset);
    if (!companion) continue;
    companion->setHighlighted(state == kStateHighlighted);
    companion->setSelected(state == kStateSelected);
  }
}

void AnsTabBar::setCurrentItemTag(int tag) {
  currentItemTag_ = tag;
  for (const auto& item : items)
    if (item->tag() != tag) changeSubItemsStateOfItem(*item, kStateNormal);
}

void AnsTabBar::itemTouchDown(const pf::ObjectPtr& sender) {
  auto item = std::dynamic_pointer_cast<pf::Button>(sender);
  if (item && item->tag() == currentItemTag_) changeSubItemsStateOfItem(*item, kStateHighlighted);
}

void AnsTabBar::touchCanceled(const pf::ObjectPtr& sender) {
  if (auto item = std::dynamic_pointer_cast<pf::Button>(sender))
    changeSubItemsStateOfItem(*item, kStateSelected);
}

void AnsTabBar::selectedItem(const pf::ObjectPtr& sender) {
  auto item = std::dynamic_pointer_cast<pf::Button>(sender);
  if (!item) return;
  if (item->tag() != currentItemTag_) setCurrentItemTag(item->tag());
  const bool highlighted = item->isHighlighted();
  changeSubItemsStateOfItem(*item, kStateSelected);
  auto listener = delegete.lock();
  if (!listener) return;
  const int index = currentItemTag_ / 100 - 1;
  if (highlighted)
    listener->ansTabBarDidSelectedItemAtIndex(index);
  else
    listener->ansTabBarDidDeSelectedItemAtIndex(index);
}
