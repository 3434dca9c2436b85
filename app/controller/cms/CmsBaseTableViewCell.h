#pragma once
// A plain course-module cell whose interface file leaves it without a background colour.

#include "platform/ui/TableViewCell.h"

class CmsBaseTableViewCell : public pf::TableViewCell {
  PF_OBJECT(CmsBaseTableViewCell, pf::TableViewCell)

  void awakeFromNib() override;
};
