#pragma once
// The right answer and its analysis, each label as tall as its text.

#include <memory>

#include "app/controller/ems/BaseQuestionCell.h"

namespace pf {
class Label;
}

class EmsQuestionAnswerCell : public BaseQuestionCell {
  PF_OBJECT(EmsQuestionAnswerCell, BaseQuestionCell)

  static constexpr char kAnswerWord[] = "答案";

  using BaseQuestionCell::BaseQuestionCell;

  std::weak_ptr<pf::Label> answer;
  std::weak_ptr<pf::Label> analysisTitle;
  std::weak_ptr<pf::Label> analysis;

  void layoutSubviews() override;
};
