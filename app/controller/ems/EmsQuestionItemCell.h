#pragma once
// One option of a question: a radio mark or a check box (by the question type), dimmed when read-only,
// and the option's text with its pictures.

#include <memory>
#include <string>

#include "app/controller/ems/BaseQuestionCell.h"

namespace pf {
class ImageView;
class Label;
}  // namespace pf

class EmsQuestionItemCell : public BaseQuestionCell {
  PF_OBJECT(EmsQuestionItemCell, BaseQuestionCell)

  static constexpr unsigned kRadio = 0;
  static constexpr unsigned kCheckBox = 1;

  using BaseQuestionCell::BaseQuestionCell;

  std::weak_ptr<pf::ImageView> selectionImageView;
  std::weak_ptr<pf::Label> contentLabel;
  unsigned cellType = kRadio;

  bool optionSeleted() const { return optionSeleted_; }
  void setOptionSeleted(bool selected);
  void refreshSelectionImageView();
  // The picture name of the mark; empty for an unknown type.
  static std::string selectionImageName(unsigned cellType, bool selected, bool readonly);

  void layoutSubviews() override;

 private:
  bool optionSeleted_ = false;
};
