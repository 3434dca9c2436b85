#pragma once
// A unit row of a course not selected: its icon and name only. Loaded from its interface file.

#include <memory>

#include "platform/ui/TableViewCell.h"

namespace pf {
class ImageView;
class Label;
}  // namespace pf

class CmsStudyUnSelCell : public pf::TableViewCell {
  PF_OBJECT(CmsStudyUnSelCell, pf::TableViewCell)

  std::weak_ptr<pf::ImageView> icon;
  std::weak_ptr<pf::Label> sectionName;
};
