#pragma once
// A reply as a row of its own (outlets only; the comment detail shows replies with CmsCommentCell).

#include <memory>

#include "platform/ui/TableViewCell.h"

namespace pf {
class Button;
class ImageView;
class Label;
}  // namespace pf

class CmsCommentReplyCell : public pf::TableViewCell {
  PF_OBJECT(CmsCommentReplyCell, pf::TableViewCell)

  std::weak_ptr<pf::ImageView> replyerImg;
  std::weak_ptr<pf::Label> replyName;
  std::weak_ptr<pf::Label> replyTime;
  std::weak_ptr<pf::ImageView> replyBgImg;
  std::weak_ptr<pf::Label> replyContent;
};
