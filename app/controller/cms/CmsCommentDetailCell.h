#pragma once
// A comment as a detail row (outlets only; the comment detail shows comments with CmsCommentCell).

#include <memory>

#include "platform/ui/TableViewCell.h"

namespace pf {
class Button;
class ImageView;
class Label;
}  // namespace pf

class CmsCommentDetailCell : public pf::TableViewCell {
  PF_OBJECT(CmsCommentDetailCell, pf::TableViewCell)

  std::weak_ptr<pf::ImageView> userImg;
  std::weak_ptr<pf::Label> userName;
  std::weak_ptr<pf::Label> commentTime;
  std::weak_ptr<pf::Label> commentContent;
};
