#pragma once
// An item of a tab bar: a title and image, an image for the selected state (tinted when none),
// finished images shown as they are, a badge text and a title offset.

#include <memory>
#include <optional>
#include <string>

#include "platform/graphics/Point.h"
#include "platform/ui/BarItem.h"

namespace pf {

class TabBarItem : public BarItem {
  PF_OBJECT(TabBarItem, BarItem)

  enum class SystemItem {
    More = 0,
    Favorites = 1,
    Featured = 2,
    TopRated = 3,
    Recents = 4,
    Contacts = 5,
    History = 6,
    Bookmarks = 7,
    Search = 8,
    Downloads = 9,
    MostRecent = 10,
    MostViewed = 11,
  };

  TabBarItem();
  TabBarItem(std::optional<std::string> title, std::shared_ptr<const Image> image, int tag);
  TabBarItem(SystemItem item, int tag);

  const std::shared_ptr<const Image>& selectedImage() const { return selectedImage_; }
  void setSelectedImage(std::shared_ptr<const Image> image);
  // Pictures drawn untinted in each state.
  void setFinishedSelectedImage(std::shared_ptr<const Image> selected,
                                std::shared_ptr<const Image> unselected);
  const std::shared_ptr<const Image>& finishedSelectedImage() const { return finishedSelected_; }
  const std::shared_ptr<const Image>& finishedUnselectedImage() const { return finishedUnselected_; }
  const std::optional<std::string>& badgeValue() const { return badgeValue_; }
  void setBadgeValue(std::optional<std::string> value);
  Point titlePositionAdjustment() const { return titleOffset_; }
  void setTitlePositionAdjustment(Point offset);

 private:
  std::shared_ptr<const Image> selectedImage_;
  std::shared_ptr<const Image> finishedSelected_;
  std::shared_ptr<const Image> finishedUnselected_;
  std::optional<std::string> badgeValue_;
  Point titleOffset_;
};

}  // namespace pf
