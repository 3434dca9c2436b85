#pragma once
// A topic row: the topic's name and how many questions it has.

#include <memory>

#include "platform/ui/TableViewCell.h"

namespace pf {
class Label;
}

class AnsTopicViewCell : public pf::TableViewCell {
  PF_OBJECT(AnsTopicViewCell, pf::TableViewCell)

  using pf::TableViewCell::TableViewCell;

  std::weak_ptr<pf::Label> topicTitleLabel;
  std::weak_ptr<pf::Label> topicCountLabel;

  void awakeFromNib() override;
};
