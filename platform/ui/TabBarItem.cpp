#include "platform/ui/TabBarItem.h"

namespace pf {

namespace {

const char* systemTitle(TabBarItem::SystemItem item) {
  static const char* const titles[] = {"More",    "Favorites", "Featured",    "Top Rated",
                                       "Recents", "Contacts",  "History",     "Bookmarks",
                                       "Search",  "Downloads", "Most Recent", "Most Viewed"};
  return titles[static_cast<int>(item)];
}

}  // namespace

TabBarItem::TabBarItem() = default;

TabBarItem::TabBarItem(std::optional<std::string> title, std::shared_ptr<const Image> image, int tag) {
  setTitle(std::move(title));
  setImage(std::move(image));
  setTag(tag);
}

TabBarItem::TabBarItem(SystemItem item, int tag) {
  setTitle(systemTitle(item));
  setTag(tag);
}

void TabBarItem::setSelectedImage(std::shared_ptr<const Image> image) {
  selectedImage_ = std::move(image);
  changed();
}

void TabBarItem::setFinishedSelectedImage(std::shared_ptr<const Image> selected,
                                          std::shared_ptr<const Image> unselected) {
  finishedSelected_ = std::move(selected);
  finishedUnselected_ = std::move(unselected);
  changed();
}

void TabBarItem::setBadgeValue(std::optional<std::string> value) {
  badgeValue_ = std::move(value);
  changed();
}

void TabBarItem::setTitlePositionAdjustment(Point offset) {
  titleOffset_ = offset;
  changed();
}

}  // namespace pf
