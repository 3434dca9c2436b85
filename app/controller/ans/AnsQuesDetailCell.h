#pragma once
// The question row of a question's detail: the title followed by its topics as links, the asker's
// picture, name and date, and the edit control. A touch a little left of or above the edit control
// still edits (its touch area grows 5 points, scaled, leftward and upward).

#include <memory>
#include <optional>
#include <string>

#include "platform/ui/TableViewCell.h"

namespace pf {
class Button;
class ImageView;
class Label;
}  // namespace pf
class AnsQuesDetailCellDelegate;
class RichLabel;

class AnsQuesDetailCell : public pf::TableViewCell {
  PF_OBJECT(AnsQuesDetailCell, pf::TableViewCell)

  using pf::TableViewCell::TableViewCell;

  std::weak_ptr<pf::ImageView> quizerImg;
  std::weak_ptr<RichLabel> questionDetailLabel;
  std::weak_ptr<pf::Label> quizerNameLabel;
  std::weak_ptr<pf::Label> quizDateLabel;
  std::weak_ptr<pf::Button> editbtn;
  std::weak_ptr<AnsQuesDetailCellDelegate> delegate;

  const std::string& questionDetail() const { return questionDetail_; }
  // Also the label's markup.
  void setQuestionDetail(const std::string& markup);

  // The control's frame in the cell, grown 5 points (scaled) to the left and upward.
  static pf::Rect enlargedTouchArea(const pf::View& control, const pf::View& cell);

  void awakeFromNib() override;
  void layoutSubviews() override;
  void touchesBegan(const pf::TouchSet& touches, const pf::Event* event) override;
  void editQuesBtnClick(const pf::ObjectPtr& sender);

 private:
  std::string questionDetail_;
};
