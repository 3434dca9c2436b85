#include "app/controller/qsm/QsmQuestionViewController.h"

#include <algorithm>
#include <vector>

#include "app/controller/ems/EmsQuestionItemCell.h"
#include "app/controller/ems/EmsQuestionTextViewCell.h"
#include "app/controller/ems/EmsQuestionTitleCell.h"
#include "app/model/qsm/QsmQuestion.h"
#include "core/util/StringUtil.h"

namespace {

std::vector<std::string> qsmPictureUrls(const std::optional<std::string>& fileUrl) {
  if (StringUtil::isNullOrEmpty(fileUrl)) return {};
  return {*fileUrl};
}

}  // namespace

QsmQuestionViewController::QsmQuestionViewController() = default;
QsmQuestionViewController::~QsmQuestionViewController() = default;

void QsmQuestionViewController::setQuestion(std::shared_ptr<QsmQuestion> question) {
  changeQuestion([&] {
    editingQuestion_.reset();
    question_ = std::move(question);
  });
}

bool QsmQuestionViewController::choosesMany() const {
  return question_ && question_->questionType == QsmQuestion::kMultipleSelect;
}

long QsmQuestionViewController::optionCount() const {
  return question_ && question_->items ? static_cast<long>(question_->items->size()) : 0;
}

bool QsmQuestionViewController::optionSelected(long option) const {
  const auto& item = (*question_->items)[static_cast<size_t>(option)];
  return item && item->selected;
}

bool QsmQuestionViewController::hasOtherOption() const {
  return optionCount() > 0 && question_->canInputText();
}

QsmQuestionViewController::RowKind QsmQuestionViewController::rowKind(long row) const {
  if (row == 0) return RowKind::Title;
  return row <= optionCount() ? RowKind::Item : RowKind::Text;
}

std::string QsmQuestionViewController::cellIdentifier(long row) const {
  switch (rowKind(row)) {
    case RowKind::Title: return EmsQuestionTitleCell::kClassName;
    case RowKind::Item: return EmsQuestionItemCell::kClassName;
    case RowKind::Text: return EmsQuestionTextViewCell::kClassName;
  }
  return EmsQuestionTitleCell::kClassName;
}

long QsmQuestionViewController::numberOfRowsInSection(pf::TableView&, long) {
  if (!question_) return 0;
  return 1 + optionCount() + (question_->canInputText() ? 1 : 0);
}

double QsmQuestionViewController::rowHeight(long row) {
  switch (rowKind(row)) {
    case RowKind::Title:
      return titleRowHeight(row, question_->content, qsmPictureUrls(question_->fileUrl).size());
    case RowKind::Item: {
      const auto& option = (*question_->items).at(row - 1);
      return optionRowHeight(row, option->content, qsmPictureUrls(option->fileUrl).size());
    }
    case RowKind::Text:
      return textRowHeight();
  }
  return 0;
}

void QsmQuestionViewController::fillCell(pf::TableViewCell& cell, long row) {
  if (auto* title = dynamic_cast<EmsQuestionTitleCell*>(&cell)) {
    fillTitle(*title, row, question_->content, qsmPictureUrls(question_->fileUrl));
  } else if (auto* option = dynamic_cast<EmsQuestionItemCell*>(&cell)) {
    const auto& item = (*question_->items).at(row - 1);
    fillOption(*option, row, item->content, false, item->selected, qsmPictureUrls(item->fileUrl));
  } else if (auto* text = dynamic_cast<EmsQuestionTextViewCell*>(&cell)) {
    bool locked = false;
    if (optionCount() > 0 && !question_->lastOptionSelected()) {
      question_->inputText = "";
      locked = true;
    }
    fillTextRow(*text, question_->inputText, locked);
  }
}

std::shared_ptr<EmsQuestionTextViewCell> QsmQuestionViewController::visibleTextCell() {
  for (const auto& cell : tableView()->visibleCells())
    if (auto text = std::dynamic_pointer_cast<EmsQuestionTextViewCell>(cell)) return text;
  return nullptr;
}

void QsmQuestionViewController::lockTextRow(bool locked) {
  auto cell = visibleTextCell();
  if (!cell) return;
  if (locked) cell->endEditing(true);
  cell->setReadonly(locked);
}

void QsmQuestionViewController::clearTypedText() {
  question_->inputText = "";
  if (auto cell = visibleTextCell()) cell->clearText();
}

void QsmQuestionViewController::didSelectRowAtIndexPath(pf::TableView& tableView,
                                                        const pf::IndexPath& indexPath) {
  if (!question_ || rowKind(indexPath.row) != RowKind::Item) return;
  const auto& items = *question_->items;
  const long option = indexPath.row - 1;
  const auto item = items.at(option);
  const bool single = question_->questionType == QsmQuestion::kSingleSelect;
  const auto prev = question_->firstOrDefaultSelectedItem();
  std::optional<long> previous;
  if (single && !item->selected && prev && prev->optionId != item->optionId) {
    prev->selected = false;
    previous = std::find(items.begin(), items.end(), prev) - items.begin();
  }
  markChoice(tableView, option, previous);
  item->selected = true;
  if (!hasOtherOption()) return;
  const bool last = indexPath.row == optionCount();
  lockTextRow(!last);
  if (single && !last) clearTypedText();
}

void QsmQuestionViewController::didDeselectRowAtIndexPath(pf::TableView& tableView,
                                                          const pf::IndexPath& indexPath) {
  if (!question_ || rowKind(indexPath.row) != RowKind::Item) return;
  unmarkChoice(tableView, indexPath.row - 1);
  (*question_->items).at(indexPath.row - 1)->selected = false;
  if (!hasOtherOption() || question_->questionType != QsmQuestion::kMultipleSelect) return;
  const bool last = indexPath.row == optionCount();
  lockTextRow(last);
  if (last) clearTypedText();
}

void QsmQuestionViewController::textViewDidBeginEditing(pf::TextView&) {
  editingQuestion_ = question_;
}

void QsmQuestionViewController::textViewDidChange(pf::TextView& view) {
  if (!editingQuestion_) editingQuestion_ = question_;
  storeTypedText(view.text());
}

void QsmQuestionViewController::textViewDidEndEditing(pf::TextView& view) {
  storeTypedText(view.text());
  editingQuestion_.reset();
}

// Blank or empty text too: clearing the row clears the answer.
void QsmQuestionViewController::storeTypedText(const std::string& text) {
  if (!editingQuestion_ || editingQuestion_ != question_) return;
  question_->inputText = text;
}
