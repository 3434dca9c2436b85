#pragma once
// A category row with sub-categories: its name and how many sub-categories it has.

#include <memory>

#include "platform/ui/TableViewCell.h"

namespace pf {
class Label;
}

class CmsCategoryCell : public pf::TableViewCell {
  PF_OBJECT(CmsCategoryCell, pf::TableViewCell)

  static constexpr char kReuseIdentifier[] = "CategoryCell";

  std::weak_ptr<pf::Label> titleLabel;
  std::weak_ptr<pf::Label> subCategoryNum;
};
