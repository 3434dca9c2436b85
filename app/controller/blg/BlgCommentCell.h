#pragma once
// One comment: the commenter's nick name, the relative time and the comment as plain text, wrapped,
// over a divider. Setting its frame sizes the text and sets the row's height.
//
// Main thread only.

#include <memory>

#include "platform/ui/TableViewCell.h"

namespace pf {
class ImageView;
class Label;
}  // namespace pf

class BlgCommentCell : public pf::TableViewCell {
  PF_OBJECT(BlgCommentCell, pf::TableViewCell)

  static constexpr char kReuseIdentifier[] = "BlgCommentCell";

  std::weak_ptr<pf::Label> userName, timeLabel, contentLabel;
  std::weak_ptr<pf::ImageView> lineImgView;

  void setFrame(const pf::Rect& frame) override;
};
