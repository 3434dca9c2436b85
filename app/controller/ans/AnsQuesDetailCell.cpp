#include "app/controller/ans/AnsQuesDetailCell.h"

#include "app/components/richlabel/RichLabel.h"
#include "app/controller/ans/AnsQuesDetailCellDelegate.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Touch.h"
#include "ui/extension/ColorExpanded.h"

pf::Rect AnsQuesDetailCell::enlargedTouchArea(const pf::View& control, const pf::View& cell) {
  const double grow = pf::Screen::mainScreen().bounds().width() / 320 * 5;
  const pf::Rect frame = control.convertRectToView(control.bounds(), &cell);
  return {frame.minX() - grow, frame.minY() - grow, frame.width() + grow, frame.height() + grow};
}

void AnsQuesDetailCell::awakeFromNib() {
  pf::TableViewCell::awakeFromNib();
  setSelectionStyle(SelectionStyle::None);
}

void AnsQuesDetailCell::setQuestionDetail(const std::string& markup) {
  questionDetail_ = markup;
  if (auto label = questionDetailLabel.lock()) label->setText(markup);
}

void AnsQuesDetailCell::layoutSubviews() {
  pf::TableViewCell::layoutSubviews();
  if (auto label = quizerNameLabel.lock())
    label->setTextColor(ColorExpanded::colorWithHexString("105CB6").value_or(pf::Color::fromWhite(0)));
}

void AnsQuesDetailCell::touchesBegan(const pf::TouchSet& touches, const pf::Event* event) {
  auto edit = editbtn.lock();
  if (edit && !edit->isHidden() && !touches.empty() &&
      enlargedTouchArea(*edit, *this).contains(touches.front()->locationInView(this))) {
    editQuesBtnClick(edit);
    return;
  }
  pf::TableViewCell::touchesBegan(touches, event);
}

void AnsQuesDetailCell::editQuesBtnClick(const pf::ObjectPtr&) {
  if (auto listener = delegate.lock()) listener->editQuestion();
}
