#pragma once
// One row of the settings screen, from its interface file: the row's picture and title, and either a
// button (its tag is the row) or the cellular download prompt switch. Both report to the delegate.
//
// Main thread only.

#include <memory>

#include "app/controller/stg/SettingViewCellDelegate.h"
#include "platform/ui/TableViewCell.h"

namespace pf {
class Button;
class ImageView;
class Label;
class Switch;
}  // namespace pf

class SettingViewCell : public pf::TableViewCell {
  PF_OBJECT(SettingViewCell, pf::TableViewCell)

  SettingViewCell();
  ~SettingViewCell() override;

  std::weak_ptr<pf::ImageView> imgView;
  std::weak_ptr<pf::Label> content;
  std::weak_ptr<pf::Button> btn;
  std::weak_ptr<pf::Switch> wifiSwitch;
  std::weak_ptr<SettingViewCellDelegate> delegate;

  void btnPressed();
  void switchValueChange();
};
