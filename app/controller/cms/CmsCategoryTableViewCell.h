#pragma once
// A category row without sub-categories, and the "全部课程" row of a panel: a name alone.

#include <memory>

#include "platform/ui/TableViewCell.h"

namespace pf {
class Label;
}

class CmsCategoryTableViewCell : public pf::TableViewCell {
  PF_OBJECT(CmsCategoryTableViewCell, pf::TableViewCell)

  static constexpr char kReuseIdentifier[] = "Cell";
  static constexpr char kRootReuseIdentifier[] = "RootCell";

  std::weak_ptr<pf::Label> titleLabel;
};
