#include "app/controller/ans/AnsQuesAnswerCell.h"

#include <limits>

#include "app/controller/ans/AnsQuesAnswerCellDelegate.h"
#include "app/controller/ans/AnsQuesDetailCell.h"
#include "app/model/ans/Answer.h"
#include "platform/text/Font.h"
#include "platform/text/StringDrawing.h"
#include "platform/ui/Button.h"
#include "platform/ui/Device.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Touch.h"
#include "ui/extension/ColorExpanded.h"

double AnsQuesAnswerCell::measure(const std::string& text, double fontSize, double width) {
  return pf::StringDrawing::sizeOfText(text, *pf::Font::systemFont(fontSize),
                                       {width, std::numeric_limits<double>::infinity()}, pf::LineBreakMode::wordWrap)
      .height;
}

double AnsQuesAnswerCell::contentHeight(const std::string& content) {
  const double width = pf::Screen::mainScreen().bounds().width() / 320 * 260;
  const bool tablet = pf::Device::currentDevice().userInterfaceIdiom() == pf::Device::Idiom::Pad;
  return measure(content, tablet ? 26 : 14, width);
}

void AnsQuesAnswerCell::awakeFromNib() {
  pf::TableViewCell::awakeFromNib();
  setSelectionStyle(SelectionStyle::None);
}

void AnsQuesAnswerCell::layoutSubviews() {
  pf::TableViewCell::layoutSubviews();
  if (auto label = replyerNameLabel.lock())
    label->setTextColor(ColorExpanded::colorWithHexString("105CB6").value_or(pf::Color::fromWhite(0)));
  if (auto label = replyDateLabel.lock()) label->setTextColor(pf::Color::fromWhite(0.5));
  auto content = replyContentLabel.lock();
  auto top = cellTopImgView.lock();
  if (!content || !top) return;
  pf::Rect frame = content->frame();
  frame.origin.y = top->frame().maxY();
  frame.size.height = contentHeight(content->text().value_or(""));
  content->setFrame(frame);
}

void AnsQuesAnswerCell::touchesBegan(const pf::TouchSet& touches, const pf::Event* event) {
  if (!touches.empty()) {
    const pf::Point at = touches.front()->locationInView(this);
    auto edit = editBtn.lock();
    if (edit && !edit->isHidden() && AnsQuesDetailCell::enlargedTouchArea(*edit, *this).contains(at)) {
      editBtnClick(edit);
      return;
    }
    auto agree = agreeBtn.lock();
    if (agree && !agree->isHidden() && AnsQuesDetailCell::enlargedTouchArea(*agree, *this).contains(at)) {
      agreeBtnClick(agree);
      return;
    }
  }
  pf::TableViewCell::touchesBegan(touches, event);
}

void AnsQuesAnswerCell::agreeBtnClick(const pf::ObjectPtr& sender) {
  auto listener = agreeDelegate.lock();
  auto praised = answer.lock();
  if (!listener || !praised) return;
  if (listener->agreeAnswer(praised).value_or(false))
    if (auto button = std::dynamic_pointer_cast<pf::Button>(sender)) button->setHidden(true);
}

void AnsQuesAnswerCell::editBtnClick(const pf::ObjectPtr&) {
  auto listener = delegate.lock();
  auto edited = answer.lock();
  if (listener && edited) listener->editAnswer(edited);
}
