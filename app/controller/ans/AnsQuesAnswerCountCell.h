#pragma once
// The row between a question and its answers: how many answers it has.

#include <memory>

#include "platform/ui/TableViewCell.h"

namespace pf {
class Label;
}

class AnsQuesAnswerCountCell : public pf::TableViewCell {
  PF_OBJECT(AnsQuesAnswerCountCell, pf::TableViewCell)

  using pf::TableViewCell::TableViewCell;

  std::weak_ptr<pf::Label> answerCountLabel;

  void awakeFromNib() override;
  void layoutSubviews() override;
};
