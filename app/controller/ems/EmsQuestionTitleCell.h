#pragma once
// The question's text with its pictures under it; it always takes touches, so pictures can be zoomed.

#include <memory>

#include "app/controller/ems/BaseQuestionCell.h"

namespace pf {
class Label;
}

class EmsQuestionTitleCell : public BaseQuestionCell {
  PF_OBJECT(EmsQuestionTitleCell, BaseQuestionCell)

  using BaseQuestionCell::BaseQuestionCell;

  std::weak_ptr<pf::Label> contentLabel;

  void layoutSubviews() override;
};
