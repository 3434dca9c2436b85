#pragma once
// A navigation bar item made of a background button, an optional icon, an optional title and a
// number badge, each found in the button by a fixed tag. The badge takes a colour by tinting its
// picture. Main thread only.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/graphics/Color.h"
#include "platform/graphics/Rect.h"
#include "platform/ui/BarButtonItem.h"

namespace pf {
class Button;
class ImageView;
class Label;
}  // namespace pf

class CmnNaviBtnItem : public pf::BarButtonItem {
  PF_OBJECT(CmnNaviBtnItem, pf::BarButtonItem)

  static constexpr int kButtonTag = 4370;
  static constexpr int kIconTag = 4371;
  static constexpr int kTitleTag = 4369;
  static constexpr int kBadgeTag = 8744;
  static constexpr int kBadgePictureTag = 69952;
  static constexpr int kBadgeNumberTag = 34976;
  static constexpr char kBadgeImageName[] = "CMN_Navi_notiIcon.png";

  // Picture names of the main bundle; the action runs on a tap while the target lives.
  CmnNaviBtnItem(const std::optional<std::string>& image, const std::optional<std::string>& highlight,
                 const std::optional<std::string>& icon, const std::optional<std::string>& text,
                 std::weak_ptr<void> target, std::function<void()> action);

  double barWidth = 60;
  double barHeight = 30;
  double badgeWidth = 20;
  double badgeHeight = 20;
  int badgeNumber() const { return badgeNumber_; }
  bool titleHidden() const { return titleHidden_; }
  bool iconHidden() const { return iconHidden_; }
  bool badgeHidden() const { return badgeHidden_; }
  // Kept for callers; no view shows it.
  std::optional<pf::Color> badgeTextColor;

  void setTitleHidden(bool hidden);
  void setIconHidden(bool hidden);
  void setBadgeHidden(bool hidden);
  void setItemLength(double length);
  void setItemHeight(double height);
  void setItemSize(pf::Size size);
  void setItemTitle(const std::optional<std::string>& title);
  void setIconImg(std::shared_ptr<const pf::Image> image);
  void setItemBackGroundImg(std::shared_ptr<const pf::Image> image);
  // Shown as "%d"; 0 hides the badge.
  void setBadgeNumber(int number);
  void setBadgeColor(const pf::Color& color);
  // The colour at the centre of the badge picture.
  std::optional<pf::Color> badgeBackgroundColor() const;

  pf::Rect iconFrameForTitleHidden(bool titleHidden) const;
  pf::Rect titleLabelFrameForIconHidden(bool iconHidden) const;

 private:
  std::shared_ptr<pf::Button> button() const;
  std::shared_ptr<pf::ImageView> icon() const;
  std::shared_ptr<pf::Label> title() const;
  std::shared_ptr<pf::View> badge() const;
  void reframeParts();

  int badgeNumber_ = 0;
  bool titleHidden_ = false;
  bool iconHidden_ = false;
  bool badgeHidden_ = false;
};
