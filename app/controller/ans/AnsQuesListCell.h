#pragma once
// A question row: the question's title, its asker's name and picture, the day it was asked and how
// many answers it has. Filled by the lists that show questions.

#include <memory>

#include "platform/ui/TableViewCell.h"

namespace pf {
class ImageView;
class Label;
}  // namespace pf

class AnsQuesListCell : public pf::TableViewCell {
  PF_OBJECT(AnsQuesListCell, pf::TableViewCell)

  using pf::TableViewCell::TableViewCell;

  std::weak_ptr<pf::Label> questionContentLabel;
  std::weak_ptr<pf::Label> quizerLabel;
  std::weak_ptr<pf::Label> quizTimeLabel;
  std::weak_ptr<pf::Label> answerQtyLabel;
  std::weak_ptr<pf::ImageView> userImgView;
};
