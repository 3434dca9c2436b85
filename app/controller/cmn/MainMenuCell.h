#pragma once
// One row of the module menu, loaded from its interface file: the module's icon, its name and a badge
// with the count of what waits there. While the row is touched the icon shows its pressed picture.
//
// Main thread only.

#include <memory>

#include "platform/ui/TableViewCell.h"

namespace pf {
class ImageView;
class Label;
}  // namespace pf
class MobileApp;

class MainMenuCell : public pf::TableViewCell {
  PF_OBJECT(MainMenuCell, pf::TableViewCell)

  static constexpr char kReuseIdentifier[] = "MainMenuCell";
  static constexpr int kBadgeLimit = 100;

  std::weak_ptr<pf::ImageView> menuImgView;
  std::weak_ptr<pf::Label> contentLabel;
  std::weak_ptr<pf::ImageView> numImgView;
  std::weak_ptr<pf::Label> notifyNum;

  // Every part of the row from the entry, nothing left of an earlier one.
  void fill(const MobileApp& app);
  // "99+" from 100, the count below it, none at 0 or less.
  static std::optional<std::string> badgeText(int reminder);

  void setHighlighted(bool highlighted, bool animated = false) override;
};
