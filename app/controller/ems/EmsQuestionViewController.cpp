#include "app/controller/ems/EmsQuestionViewController.h"

#include <algorithm>
#include <vector>

#include "app/controller/ems/EmsQuestionAnswerCell.h"
#include "app/controller/ems/EmsQuestionItemCell.h"
#include "app/controller/ems/EmsQuestionTextViewCell.h"
#include "app/controller/ems/EmsQuestionTitleCell.h"
#include "app/model/ems/EmsQuestion.h"
#include "core/util/StringUtil.h"
#include "platform/ui/Label.h"

namespace {

std::vector<std::string> emsQuestionPictureUrls(const std::vector<std::shared_ptr<EmsAttachment>>& attachments) {
  std::vector<std::string> urls;
  for (const auto& attachment : attachments)
    if (attachment && attachment->url) urls.push_back(*attachment->url);
  return urls;
}

bool emsQuestionChoosesOne(const EmsQuestion& question) {
  return question.isOfType(EmsQuestion::kSingle) || question.isTrueFalse();
}

}  // namespace

EmsQuestionViewController::EmsQuestionViewController() = default;
EmsQuestionViewController::~EmsQuestionViewController() = default;

void EmsQuestionViewController::setQuestion(std::shared_ptr<EmsQuestion> question) {
  changeQuestion([&] {
    editingQuestion_.reset();
    question_ = std::move(question);
  });
}

bool EmsQuestionViewController::choosesMany() const {
  return question_ && question_->isOfType(EmsQuestion::kMultiple);
}

long EmsQuestionViewController::optionCount() const {
  return question_ ? question_->optionCount() : 0;
}

bool EmsQuestionViewController::optionSelected(long option) const {
  if (option < 0 || static_cast<size_t>(option) >= question_->items.size()) return false;
  const auto& item = question_->items[static_cast<size_t>(option)];
  return item && item->selected;
}

EmsQuestionViewController::RowKind EmsQuestionViewController::rowKind(long row) const {
  if (row == 0) return RowKind::Title;
  const long options = optionCount();
  if (row <= options) return RowKind::Item;
  const long rows = 1 + options + (question_ && question_->canInputText() ? 1 : 0) +
                    (question_ && question_->showRightAnswer ? 1 : 0);
  if (question_ && question_->canInputText() && (!question_->showRightAnswer || row == rows - 2)) return RowKind::Text;
  return RowKind::Answer;
}

std::string EmsQuestionViewController::cellIdentifierForKind(RowKind kind) {
  switch (kind) {
    case RowKind::Title: return EmsQuestionTitleCell::kClassName;
    case RowKind::Item: return EmsQuestionItemCell::kClassName;
    case RowKind::Text: return EmsQuestionTextViewCell::kClassName;
    case RowKind::Answer: return EmsQuestionAnswerCell::kClassName;
  }
  return EmsQuestionTitleCell::kClassName;
}

long EmsQuestionViewController::numberOfRowsInSection(pf::TableView&, long) {
  if (!question_) return 0;
  return 1 + question_->optionCount() + (question_->canInputText() ? 1 : 0) + (question_->showRightAnswer ? 1 : 0);
}

double EmsQuestionViewController::rowHeight(long row) {
  switch (rowKind(row)) {
    case RowKind::Title:
      return titleRowHeight(row, question_->content, question_->refAttaments.size());
    case RowKind::Item: {
      const auto& item = question_->items.at(row - 1);
      return optionRowHeight(row, item->content, item->refAttaments.size());
    }
    case RowKind::Text:
      return textRowHeight();
    case RowKind::Answer: {
      const double w = widthScale();
      const double a = textHeight(question_->getRightAnswer(), w * 18, w * 280);
      const double z = textHeight(question_->analyze, w * 18, w * 280);
      const double l = textHeight(std::string(EmsQuestionAnswerCell::kAnswerWord), w * 18, w * 280);
      return std::max(a, l) + heightScale() * 15 + std::max(z, l) + w * 10;
    }
  }
  return 0;
}

void EmsQuestionViewController::fillCell(pf::TableViewCell& cell, long row) {
  if (auto* title = dynamic_cast<EmsQuestionTitleCell*>(&cell)) {
    fillTitle(*title, row, question_->content, emsQuestionPictureUrls(question_->refAttaments));
  } else if (auto* option = dynamic_cast<EmsQuestionItemCell*>(&cell)) {
    const auto& item = question_->items.at(row - 1);
    fillOption(*option, row, item->content, readonly, item->selected, emsQuestionPictureUrls(item->refAttaments));
  } else if (auto* text = dynamic_cast<EmsQuestionTextViewCell*>(&cell)) {
    fillTextRow(*text, question_->inputText, readonly);
  } else if (auto* answer = dynamic_cast<EmsQuestionAnswerCell*>(&cell)) {
    if (auto label = answer->answer.lock()) label->setText(question_->getRightAnswer());
    if (auto label = answer->analysis.lock()) label->setText(question_->analyze.value_or(""));
    answer->setReadonly(readonly);
  }
}

void EmsQuestionViewController::didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) {
  if (!question_ || rowKind(indexPath.row) != RowKind::Item || readonly) return;
  const long option = indexPath.row - 1;
  const auto item = question_->items.at(option);
  const auto prev = question_->firstOrDefaultSelectedItem();
  std::optional<long> previous;
  if (emsQuestionChoosesOne(*question_) && !item->selected && prev && prev->itemId != item->itemId) {
    prev->selected = false;
    previous = std::find(question_->items.begin(), question_->items.end(), prev) - question_->items.begin();
  }
  markChoice(tableView, option, previous);
  item->selected = true;
  if (question_->isOfType(EmsQuestion::kAscertain)) {
    tableView.reloadData();
    mirrorSelectionInTable();
  }
  reportActivity();
}

void EmsQuestionViewController::didDeselectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) {
  if (!question_ || rowKind(indexPath.row) != RowKind::Item || readonly) return;
  unmarkChoice(tableView, indexPath.row - 1);
  question_->items.at(indexPath.row - 1)->selected = false;
  reportActivity();
}

void EmsQuestionViewController::scrollViewDidScroll(pf::ScrollView& scrollView) {
  BaseQuestionViewController::scrollViewDidScroll(scrollView);
  if (scrollView.isDragging()) reportActivity();
}

void EmsQuestionViewController::beginTextEdit() {
  editingQuestion_ = question_;
  heldText_ = question_ ? question_->inputText : std::nullopt;
}

void EmsQuestionViewController::textViewDidBeginEditing(pf::TextView&) { beginTextEdit(); }

void EmsQuestionViewController::textViewDidChange(pf::TextView& view) {
  if (!editingQuestion_) beginTextEdit();
  storeTypedText(view.text());
  reportActivity();
}

void EmsQuestionViewController::textViewDidEndEditing(pf::TextView& view) {
  storeTypedText(view.text());
  editingQuestion_.reset();
}

// Only into the question the edit began on; blanks give back what it held then.
void EmsQuestionViewController::storeTypedText(const std::string& text) {
  if (!editingQuestion_ || editingQuestion_ != question_) return;
  question_->inputText = StringUtil::isBlank(text) ? heldText_ : std::optional<std::string>(text);
}

void EmsQuestionViewController::reportActivity() {
  if (onActivity) onActivity();
}
