#pragma once
// One person in a follow or fans list: face, nick name and a follow button that the list handles.
//
// Main thread only.

#include <memory>

#include "platform/ui/TableViewCell.h"

namespace pf {
class Button;
class ImageView;
class Label;
}  // namespace pf
class BlgAttentionCellDelegate;

class MyAttentionCell : public pf::TableViewCell {
  PF_OBJECT(MyAttentionCell, pf::TableViewCell)

  static constexpr char kReuseIdentifier[] = "MyAttentionCell";

  std::weak_ptr<pf::ImageView> userPic;
  std::weak_ptr<pf::Label> userName;
  std::weak_ptr<pf::Button> attentionBtn;
  std::weak_ptr<BlgAttentionCellDelegate> attentionDelegate;
  // The button's action.
  void attentionBtnTapped();
  // Whether the signed-in user follows the row's user.
  void updateAttentionBtnState(bool following);
};
