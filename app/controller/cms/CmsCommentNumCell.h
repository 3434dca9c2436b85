#pragma once
// The reply count line of the comment detail, beside the learner's own face. Loaded from its
// interface file with the face placeholder and a sample count.

#include <memory>

#include "platform/ui/TableViewCell.h"

namespace pf {
class ImageView;
class Label;
}  // namespace pf

class CmsCommentNumCell : public pf::TableViewCell {
  PF_OBJECT(CmsCommentNumCell, pf::TableViewCell)

  std::weak_ptr<pf::ImageView> bgImg;
  std::weak_ptr<pf::ImageView> leftImg;
  std::weak_ptr<pf::Label> numPhrase;

  void awakeFromNib() override;
};
