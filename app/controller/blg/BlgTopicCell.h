#pragma once
// One topic row: its title.

#include <memory>

#include "platform/ui/TableViewCell.h"

namespace pf {
class Label;
}

class BlgTopicCell : public pf::TableViewCell {
  PF_OBJECT(BlgTopicCell, pf::TableViewCell)

  static constexpr char kReuseIdentifier[] = "BlgTopicCell";

  std::weak_ptr<pf::Label> titleLabel;
};
