#pragma once
// The comment tab's row when the course has no comments yet. Loaded from its interface file.

#include <memory>

#include "platform/ui/TableViewCell.h"

namespace pf {
class Button;
class ImageView;
class Label;
}  // namespace pf

class CmsDetailNoCommentCell : public pf::TableViewCell {
  PF_OBJECT(CmsDetailNoCommentCell, pf::TableViewCell)
};
