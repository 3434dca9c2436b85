#pragma once
// An answer row of a question's detail: the author's picture, name and date, the text, the praise
// count and the praise and edit controls. Both controls answer a touch a little left of or above
// them (their touch areas grow 5 points, scaled, leftward and upward), only while shown.

#include <memory>
#include <string>

#include "platform/ui/TableViewCell.h"

namespace pf {
class Button;
class ImageView;
class Label;
}  // namespace pf
class Answer;
class AnsQuesAnswerCellDelegate;

class AnsQuesAnswerCell : public pf::TableViewCell {
  PF_OBJECT(AnsQuesAnswerCell, pf::TableViewCell)

  using pf::TableViewCell::TableViewCell;

  std::weak_ptr<pf::ImageView> replyerIconImgView;
  std::weak_ptr<pf::Label> replyerNameLabel;
  std::weak_ptr<pf::Label> replyDateLabel;
  std::weak_ptr<pf::Label> replyContentLabel;
  std::weak_ptr<pf::Label> agreeCountLabel;
  std::weak_ptr<pf::Button> agreeBtn;
  std::weak_ptr<pf::Button> editBtn;
  std::weak_ptr<pf::Button> detailEditBtn;
  std::weak_ptr<pf::ImageView> cellTopImgView;
  // Hears editAnswer.
  std::weak_ptr<AnsQuesAnswerCellDelegate> delegate;
  // Hears agreeAnswer.
  std::weak_ptr<AnsQuesAnswerCellDelegate> agreeDelegate;
  std::weak_ptr<Answer> answer;

  // The height of a word-wrapped text in the system font of that size within the width.
  static double measure(const std::string& text, double fontSize, double width);
  // The height the answer's text takes in the row.
  static double contentHeight(const std::string& content);

  void awakeFromNib() override;
  void layoutSubviews() override;
  void touchesBegan(const pf::TouchSet& touches, const pf::Event* event) override;
  void agreeBtnClick(const pf::ObjectPtr& sender);
  void editBtnClick(const pf::ObjectPtr& sender);
};
