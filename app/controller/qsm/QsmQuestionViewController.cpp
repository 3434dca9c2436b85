#include "app/controller/qsm/QsmQuestionViewController.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "app/components/photozoom/PhotoZoomManager.h"
#include "app/controller/ems/EmsQuestionItemCell.h"
#include "app/controller/ems/EmsQuestionTextViewCell.h"
#include "app/controller/ems/EmsQuestionTitleCell.h"
#include "app/model/qsm/QsmQuestion.h"
#include "app/util/ViewUtil.h"
#include "core/util/StringUtil.h"
#include "platform/foundation/Format.h"
#include "platform/graphics/Color.h"
#include "platform/text/Font.h"
#include "platform/text/StringDrawing.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"
#include "platform/ui/Screen.h"
#include "ui/base/BaseTextView.h"
#include "ui/base/BaseUIImageView.h"

namespace {

double qsmWidthScale() {
  return pf::Screen::mainScreen().bounds().width() / 320;
}
double qsmHeightScale() {
  return pf::Screen::mainScreen().bounds().height() / 480;
}

double qsmTextHeight(const std::optional<std::string>& text, double fontSize, double width) {
  return pf::StringDrawing::sizeOfText(text.value_or(std::string()), *pf::Font::systemFont(fontSize),
                                       {width, std::numeric_limits<double>::infinity()},
                                       pf::LineBreakMode::charWrap)
      .height;
}

std::vector<std::string> qsmPictureUrls(const std::optional<std::string>& fileUrl) {
  if (StringUtil::isNullOrEmpty(fileUrl)) return {};
  return {*fileUrl};
}

double qsmPictureSpace(const std::optional<std::string>& fileUrl) {
  return StringUtil::isNullOrEmpty(fileUrl) ? 0 : qsmWidthScale() * 10 + qsmHeightScale() * 60;
}

}  // namespace

QsmQuestionViewController::QsmQuestionViewController() = default;
QsmQuestionViewController::~QsmQuestionViewController() = default;

// Ending the edit first stores the text into the question it was typed for.
void QsmQuestionViewController::setQuestion(std::shared_ptr<QsmQuestion> question) {
  if (isViewLoaded()) view()->endEditing(true);
  editingQuestion_.reset();
  question_ = std::move(question);
  cellImageOriginDic.clear();
  if (isViewLoaded())
    tableView()->setAllowsMultipleSelection(question_ &&
                                            question_->questionType == QsmQuestion::kMultipleSelect);
}

void QsmQuestionViewController::viewDidLoad() {
  BaseTableViewController::viewDidLoad();
  focusManager = std::make_shared<PhotoZoomManager>();
  focusManager->setDelegate(std::dynamic_pointer_cast<PhotoZoomDelegate>(shared_from_this()));
  tableView()->setAllowsMultipleSelection(question_ &&
                                          question_->questionType == QsmQuestion::kMultipleSelect);
}

bool QsmQuestionViewController::refreshData() {
  if (!BaseTableViewController::refreshData()) return false;
  tableView()->reloadData();
  mirrorSelectionInTable();
  refreshDataComplete();
  return true;
}

// Answers kept from an earlier visit are selected in the table too, so one tap changes them.
void QsmQuestionViewController::mirrorSelectionInTable() {
  for (long i = 0; i < optionCount(); ++i)
    if ((*question_->items)[i] && (*question_->items)[i]->selected)
      tableView()->selectRowAtIndexPath(pf::IndexPath::forRow(i + 1, 0), false,
                                        pf::TableView::ScrollPosition::None);
}

long QsmQuestionViewController::optionCount() const {
  return question_ && question_->items ? static_cast<long>(question_->items->size()) : 0;
}

bool QsmQuestionViewController::hasOtherOption() const {
  return optionCount() > 0 && question_->canInputText();
}

QsmQuestionViewController::RowKind QsmQuestionViewController::rowKind(long row) const {
  if (row == 0) return RowKind::Title;
  return row <= optionCount() ? RowKind::Item : RowKind::Text;
}

long QsmQuestionViewController::numberOfRowsInSection(pf::TableView&, long) {
  if (!question_) return 0;
  return 1 + optionCount() + (question_->canInputText() ? 1 : 0);
}

std::optional<double> QsmQuestionViewController::heightForRowAtIndexPath(pf::TableView&,
                                                                         const pf::IndexPath& indexPath) {
  return rowHeight(indexPath.row);
}

double QsmQuestionViewController::rowHeight(long row) {
  const double w = qsmWidthScale();
  const double h = qsmHeightScale();
  const std::string key = pf::format("%d", static_cast<int>(row));
  switch (rowKind(row)) {
    case RowKind::Title: {
      const double t = qsmTextHeight(question_->content, w * 18, w * 280);
      cellImageOriginDic[key] = pf::Point(w * 20, t + h * 20);
      return t + qsmPictureSpace(question_->fileUrl) + w * 10;
    }
    case RowKind::Item: {
      const auto& option = (*question_->items).at(row - 1);
      const double t = qsmTextHeight(option->content, w * 16, w * 235);
      cellImageOriginDic[key] = pf::Point(w * 20, t + h * 20);
      return t + qsmPictureSpace(option->fileUrl) + w * 10;
    }
    case RowKind::Text:
      return h * 120 + w * 10;
  }
  return 0;
}

std::shared_ptr<pf::TableViewCell> QsmQuestionViewController::cellForRowAtIndexPath(
    pf::TableView& tableView, const pf::IndexPath& indexPath) {
  const RowKind kind = rowKind(indexPath.row);
  const std::string identifier = kind == RowKind::Title  ? EmsQuestionTitleCell::kClassName
                                 : kind == RowKind::Item ? EmsQuestionItemCell::kClassName
                                                         : EmsQuestionTextViewCell::kClassName;
  auto cell = tableView.dequeueReusableCellWithIdentifier(identifier);
  if (!cell) {
    cell = std::dynamic_pointer_cast<pf::TableViewCell>(ViewUtil::viewFromNibWithNibName(identifier));
    cell->setReuseIdentifier(identifier);
  }
  fillCell(*cell, indexPath.row);
  return cell;
}

void QsmQuestionViewController::fillCell(pf::TableViewCell& cell, long row) {
  const auto found = cellImageOriginDic.find(pf::format("%d", static_cast<int>(row)));
  const pf::Point origin = found == cellImageOriginDic.end() ? pf::Point(0, 0) : found->second;
  if (auto* title = dynamic_cast<EmsQuestionTitleCell*>(&cell)) {
    if (auto label = title->contentLabel.lock()) label->setText(question_->content.value_or(""));
    title->setReadonly(false);
    title->initAndAddImageViews(qsmPictureUrls(question_->fileUrl), origin);
    zoomPicturesOf(*title);
  } else if (auto* option = dynamic_cast<EmsQuestionItemCell*>(&cell)) {
    const auto& item = (*question_->items).at(row - 1);
    if (auto label = option->contentLabel.lock()) label->setText(item->content.value_or(""));
    option->setReadonly(false);
    option->setSelectionStyle(pf::TableViewCell::SelectionStyle::None);
    option->cellType = question_->questionType == QsmQuestion::kMultipleSelect
                           ? EmsQuestionItemCell::kCheckBox
                           : EmsQuestionItemCell::kRadio;
    option->setOptionSeleted(item->selected);
    option->refreshSelectionImageView();
    option->initAndAddImageViews(qsmPictureUrls(item->fileUrl), origin);
    zoomPicturesOf(*option);
  } else if (auto* text = dynamic_cast<EmsQuestionTextViewCell*>(&cell)) {
    bool locked = false;
    if (optionCount() > 0 && !question_->lastOptionSelected()) {
      question_->inputText = "";
      locked = true;
    }
    if (auto field = text->contentTextView.lock()) {
      field->layer()->setBorderWidth(1);
      field->layer()->setBorderColor(pf::Color::lightGray());
      field->setText(question_->inputText.value_or(""));
      field->setDelegate(std::dynamic_pointer_cast<pf::TextViewDelegate>(shared_from_this()));
    }
    text->setReadonly(locked);
  }
}

void QsmQuestionViewController::zoomPicturesOf(BaseQuestionCell& cell) {
  if (!focusManager) return;
  for (const auto& picture : cell.imageViews()) focusManager->installOnView(picture);
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
  const auto item = items.at(indexPath.row - 1);
  const bool single = question_->questionType == QsmQuestion::kSingleSelect;
  const auto prev = question_->firstOrDefaultSelectedItem();
  if (single && !item->selected && prev && prev->optionId != item->optionId) {
    prev->selected = false;
    const auto at = std::find(items.begin(), items.end(), prev);
    const pf::IndexPath prevPath = pf::IndexPath::forRow(at - items.begin() + 1, 0);
    if (auto cell = std::dynamic_pointer_cast<EmsQuestionItemCell>(tableView.cellForRowAtIndexPath(prevPath)))
      cell->setOptionSeleted(false);
    tableView.deselectRowAtIndexPath(prevPath, false);
  }
  if (auto cell = std::dynamic_pointer_cast<EmsQuestionItemCell>(tableView.cellForRowAtIndexPath(indexPath)))
    cell->setOptionSeleted(true);
  item->selected = true;
  if (!hasOtherOption()) return;
  const bool last = indexPath.row == optionCount();
  lockTextRow(!last);
  if (single && !last) clearTypedText();
}

void QsmQuestionViewController::didDeselectRowAtIndexPath(pf::TableView& tableView,
                                                          const pf::IndexPath& indexPath) {
  if (!question_ || rowKind(indexPath.row) != RowKind::Item) return;
  if (auto cell = std::dynamic_pointer_cast<EmsQuestionItemCell>(tableView.cellForRowAtIndexPath(indexPath)))
    cell->setOptionSeleted(false);
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

std::shared_ptr<const pf::Image> QsmQuestionViewController::photoZoomManagerImageForView(PhotoZoomManager&,
                                                                                         pf::View& view) {
  auto* picture = dynamic_cast<pf::ImageView*>(&view);
  return picture ? picture->image() : nullptr;
}

std::shared_ptr<pf::ViewController> QsmQuestionViewController::parentViewControllerForPhotoZoomManager(
    PhotoZoomManager&) {
  return parentController.lock();
}
