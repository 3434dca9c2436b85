#include "app/controller/ems/EmsShowAllQuesViewController.h"

#include <algorithm>

#include "app/controller/ems/EmsProcessViewController.h"
#include "app/controller/ems/EmsShowQuesBtnView.h"
#include "app/controller/ems/EmsShowQuesCell.h"
#include "app/model/ems/EmsExam.h"
#include "app/util/ViewUtil.h"
#include "platform/foundation/Format.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "ui/extension/ColorExpanded.h"

namespace {

std::shared_ptr<pf::Image> sheetPicture(const char* name) {
  return pf::Image::named(name, pf::Screen::mainScreen().scale());
}

}  // namespace

EmsShowAllQuesViewController::EmsShowAllQuesViewController() = default;
EmsShowAllQuesViewController::~EmsShowAllQuesViewController() = default;

void EmsShowAllQuesViewController::loadView() {
  setView(ViewUtil::viewFromNib(kClassName, shared_from_this()));
  if (auto table = quesTableView.lock()) {
    table->setDataSource(std::dynamic_pointer_cast<pf::TableViewDataSource>(shared_from_this()));
    table->setDelegate(std::dynamic_pointer_cast<pf::TableViewDelegate>(shared_from_this()));
    table->setSeparatorStyle(pf::TableView::SeparatorStyle::None);
  }
}

void EmsShowAllQuesViewController::viewWillAppear(bool animated) {
  pf::ViewController::viewWillAppear(animated);
  showSummary();
  if (auto table = quesTableView.lock()) table->reloadData();
}

void EmsShowAllQuesViewController::showSummary() {
  for (const auto& label : {scorePreffixLabel, scoreLabel, scoreSuffixLabel})
    if (auto shown = label.lock()) shown->setHidden(!viewAnswerMode);
  if (auto label = leftTimeLabel.lock()) label->setHidden(viewAnswerMode);
  const int n = static_cast<int>(questions.size());
  auto process = processLabel.lock();
  if (viewAnswerMode) {
    if (auto label = scoreLabel.lock()) label->setText(pf::format("%1.0f", exam ? exam->displayUserScore() : 0.0f));
    const int passed = static_cast<int>(std::count_if(questions.begin(), questions.end(),
                                                      [](const auto& q) { return q && q->passed; }));
    if (process) process->setText(pf::format("共 %d 题，您答对 %d 题，答错 %d 题", n, passed, n - passed));
  } else {
    const int answered = static_cast<int>(std::count_if(questions.begin(), questions.end(),
                                                        [](const auto& q) { return q && q->isAnswered(); }));
    if (process) process->setText(pf::format("您还有 %d 个未答问题", n - answered));
  }
}

void EmsShowAllQuesViewController::showQuesWithNo(int number) {
  std::weak_ptr<EmsProcessViewController> process = processViewController;
  dismissViewControllerAnimated(true, [process, number] {
    if (auto screen = process.lock(); screen && number > 0) screen->showQuestionWithQuesIndex(number - 1);
  });
}

void EmsShowAllQuesViewController::backBtnClick() { dismissViewControllerAnimated(true); }

long EmsShowAllQuesViewController::numberOfRowsInSection(pf::TableView&, long) {
  return static_cast<long>((questions.size() + EmsShowQuesCell::kButtonsPerRow - 1) / EmsShowQuesCell::kButtonsPerRow);
}

std::optional<double> EmsShowAllQuesViewController::heightForRowAtIndexPath(pf::TableView&, const pf::IndexPath&) {
  return pf::Screen::mainScreen().bounds().height() / 480 * 60;
}

std::shared_ptr<pf::TableViewCell> EmsShowAllQuesViewController::cellForRowAtIndexPath(pf::TableView& tableView,
                                                                                        const pf::IndexPath& indexPath) {
  auto cell = std::dynamic_pointer_cast<EmsShowQuesCell>(tableView.dequeueReusableCellWithIdentifier(kReuseIdentifier));
  if (!cell) {
    cell = std::make_shared<EmsShowQuesCell>(pf::TableViewCell::CellStyle::Default, kReuseIdentifier);
    cell->initBtnViews(std::dynamic_pointer_cast<ShowQuesBtnDelegate>(shared_from_this()));
  }
  initCellWithQuestions(indexPath.row, *cell);
  return cell;
}

void EmsShowAllQuesViewController::initCellWithQuestions(long row, EmsShowQuesCell& cell) {
  for (size_t j = 0; j < cell.btnViews.size(); ++j) {
    const auto& button = cell.btnViews[j];
    const size_t index = static_cast<size_t>(row) * EmsShowQuesCell::kButtonsPerRow + j;
    if (index >= questions.size() || !questions[index]) {
      button->setHidden(true);
      button->position = 0;
      continue;
    }
    const auto& question = *questions[index];
    button->setHidden(false);
    button->position = static_cast<int>(index) + 1;
    if (auto label = button->quesNoLabel.lock()) label->setText(pf::format("%d", question.showOrder));
    auto mark = button->resultImageView.lock();
    if (mark) mark->setHidden(!viewAnswerMode);
    const bool finished = viewAnswerMode ? false : question.isAnswered();
    const std::uint32_t colour = viewAnswerMode ? 0x777777 : (finished ? 0x608C03 : 0xFE0000);
    // The number sits on its own label over the button, so it takes the button's title colour too.
    if (auto label = button->quesNoLabel.lock()) label->setTextColor(ColorExpanded::colorWithRGBHex(colour));
    if (auto background = button->bgBtn.lock()) {
      background->setTitleColor(ColorExpanded::colorWithRGBHex(colour), pf::Control::kNormal);
      background->setBackgroundImage(
          sheetPicture(finished ? "EMS_VQUE_cell_bg_finish.png" : "EMS_VQUE_cell_bg_normal.png"), pf::Control::kNormal);
    }
    if (mark && viewAnswerMode)
      mark->setImage(sheetPicture(question.passed ? "EMS_VQUE_result_correct.png" : "EMS_VQUE_result_wrong.png"));
  }
}

void EmsShowAllQuesViewController::willDisplayCell(pf::TableView&, pf::TableViewCell& cell, const pf::IndexPath&) {
  cell.setBackgroundColor(pf::Color::clear());
}
