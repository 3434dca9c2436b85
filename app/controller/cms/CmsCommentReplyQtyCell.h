#pragma once
// A reply count line (outlets only; the comment detail uses CmsCommentNumCell).

#include <memory>

#include "platform/ui/TableViewCell.h"

namespace pf {
class Button;
class ImageView;
class Label;
}  // namespace pf

class CmsCommentReplyQtyCell : public pf::TableViewCell {
  PF_OBJECT(CmsCommentReplyQtyCell, pf::TableViewCell)

  std::weak_ptr<pf::Label> replyQty;
  std::weak_ptr<pf::Label> replyPhrase;
  std::weak_ptr<pf::ImageView> replyQtyBgImg;
};
