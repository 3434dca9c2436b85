#include "app/controller/ems/EmsQuestionAnswerCell.h"

#include <algorithm>
#include <limits>

#include "platform/text/StringDrawing.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"

namespace {

double answerCellTextHeight(const std::string& text, const pf::Font& font, double width) {
  return pf::StringDrawing::sizeOfText(text, font, {width, std::numeric_limits<double>::infinity()},
                                       pf::LineBreakMode::charWrap)
      .height;
}

void fitLabelHeight(pf::Label& label) {
  pf::Rect frame = label.frame();
  frame.size.height = answerCellTextHeight(label.text().value_or(std::string()), *label.font(), frame.width());
  label.setFrame(frame);
}

}  // namespace

void EmsQuestionAnswerCell::layoutSubviews() {
  BaseQuestionCell::layoutSubviews();
  auto answerLabel = answer.lock();
  auto title = analysisTitle.lock();
  auto analysisLabel = analysis.lock();
  if (!answerLabel || !title || !analysisLabel) return;
  const double width = pf::Screen::mainScreen().bounds().width() / 320;
  const double wordHeight = answerCellTextHeight(kAnswerWord, *answerLabel->font(), width * 280);
  fitLabelHeight(*answerLabel);
  pf::Rect titleFrame = title->frame();
  titleFrame.origin = pf::Point(0, std::max(answerLabel->frame().height(), wordHeight) + 10);
  title->setFrame(titleFrame);
  fitLabelHeight(*analysisLabel);
  pf::Rect analysisFrame = analysisLabel->frame();
  analysisFrame.origin.y = titleFrame.origin.y;
  analysisLabel->setFrame(analysisFrame);
}
