#include "app/controller/ems/EmsQuestionViewController.h"

#include <algorithm>
#include <limits>

#include "app/components/photozoom/PhotoZoomManager.h"
#include "app/controller/ems/EmsQuestionAnswerCell.h"
#include "app/controller/ems/EmsQuestionItemCell.h"
#include "app/controller/ems/EmsQuestionTextViewCell.h"
#include "app/controller/ems/EmsQuestionTitleCell.h"
#include "app/model/ems/EmsQuestion.h"
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

double questionWidthScale() { return pf::Screen::mainScreen().bounds().width() / 320; }
double questionHeightScale() { return pf::Screen::mainScreen().bounds().height() / 480; }

double questionTextHeight(const std::optional<std::string>& text, double fontSize, double width) {
  return pf::StringDrawing::sizeOfText(text.value_or(std::string()), *pf::Font::systemFont(fontSize),
                                       {width, std::numeric_limits<double>::infinity()}, pf::LineBreakMode::charWrap)
      .height;
}

std::vector<std::string> pictureUrls(const std::vector<std::shared_ptr<EmsAttachment>>& attachments) {
  std::vector<std::string> urls;
  for (const auto& attachment : attachments)
    if (attachment && attachment->url) urls.push_back(*attachment->url);
  return urls;
}

bool choosesOne(const EmsQuestion& question) {
  return question.isOfType(EmsQuestion::kSingle) || question.isTrueFalse();
}

}  // namespace

EmsQuestionViewController::EmsQuestionViewController() = default;
EmsQuestionViewController::~EmsQuestionViewController() = default;

// Ending the edit first stores the text into the question it was typed for.
void EmsQuestionViewController::setQuestion(std::shared_ptr<EmsQuestion> question) {
  if (isViewLoaded()) view()->endEditing(true);
  editingQuestion_.reset();
  question_ = std::move(question);
  cellImageOriginDic.clear();
  if (isViewLoaded())
    tableView()->setAllowsMultipleSelection(question_ && question_->isOfType(EmsQuestion::kMultiple));
}

void EmsQuestionViewController::viewDidLoad() {
  BaseTableViewController::viewDidLoad();
  focusManager = std::make_shared<PhotoZoomManager>();
  focusManager->setDelegate(std::dynamic_pointer_cast<PhotoZoomDelegate>(shared_from_this()));
  tableView()->setAllowsMultipleSelection(question_ && question_->isOfType(EmsQuestion::kMultiple));
}

bool EmsQuestionViewController::refreshData() {
  if (!BaseTableViewController::refreshData()) return false;
  tableView()->reloadData();
  mirrorSelectionInTable();
  refreshDataComplete();
  return true;
}

// A choice restored from storage is selected in the table too, so one tap changes or clears it.
void EmsQuestionViewController::mirrorSelectionInTable() {
  if (!question_ || question_->optionCount() == 0) return;
  const long options = std::min<long>(question_->optionCount(), static_cast<long>(question_->items.size()));
  for (long i = 0; i < options; ++i)
    if (question_->items[i] && question_->items[i]->selected)
      tableView()->selectRowAtIndexPath(pf::IndexPath::forRow(i + 1, 0), false, pf::TableView::ScrollPosition::None);
}

EmsQuestionViewController::RowKind EmsQuestionViewController::rowKind(long row) const {
  if (row == 0) return RowKind::Title;
  const long options = question_ ? question_->optionCount() : 0;
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

std::optional<double> EmsQuestionViewController::heightForRowAtIndexPath(pf::TableView&, const pf::IndexPath& indexPath) {
  return rowHeight(indexPath.row);
}

double EmsQuestionViewController::rowHeight(long row) {
  const double w = questionWidthScale();
  const double h = questionHeightScale();
  const double perPicture = w * 10 + h * 60;
  switch (rowKind(row)) {
    case RowKind::Title: {
      const double t = questionTextHeight(question_->content, w * 18, w * 280);
      cellImageOriginDic[pf::format("%d", static_cast<int>(row))] = pf::Point(w * 20, t + h * 20);
      return t + perPicture * static_cast<double>(question_->refAttaments.size()) + w * 10;
    }
    case RowKind::Item: {
      const auto& item = question_->items.at(row - 1);
      const double t = questionTextHeight(item->content, w * 16, w * 235);
      cellImageOriginDic[pf::format("%d", static_cast<int>(row))] = pf::Point(w * 20, t + h * 20);
      return t + perPicture * static_cast<double>(item->refAttaments.size()) + w * 10;
    }
    case RowKind::Text:
      return h * 120 + w * 10;
    case RowKind::Answer: {
      const double a = questionTextHeight(question_->getRightAnswer(), w * 18, w * 280);
      const double z = questionTextHeight(question_->analyze, w * 18, w * 280);
      const double l = questionTextHeight(std::string(EmsQuestionAnswerCell::kAnswerWord), w * 18, w * 280);
      return std::max(a, l) + h * 15 + std::max(z, l) + w * 10;
    }
  }
  return 0;
}

std::shared_ptr<pf::TableViewCell> EmsQuestionViewController::cellForRowAtIndexPath(pf::TableView& tableView,
                                                                                     const pf::IndexPath& indexPath) {
  const std::string identifier = cellIdentifierForKind(rowKind(indexPath.row));
  auto cell = tableView.dequeueReusableCellWithIdentifier(identifier);
  if (!cell) {
    cell = std::dynamic_pointer_cast<pf::TableViewCell>(ViewUtil::viewFromNibWithNibName(identifier));
    cell->setReuseIdentifier(identifier);
  }
  fillCell(*cell, indexPath.row);
  return cell;
}

void EmsQuestionViewController::fillCell(pf::TableViewCell& cell, long row) {
  const auto found = cellImageOriginDic.find(pf::format("%d", static_cast<int>(row)));
  const pf::Point origin = found == cellImageOriginDic.end() ? pf::Point(0, 0) : found->second;
  if (auto* title = dynamic_cast<EmsQuestionTitleCell*>(&cell)) {
    if (auto label = title->contentLabel.lock()) label->setText(question_->content.value_or(""));
    title->setReadonly(false);
    title->initAndAddImageViews(pictureUrls(question_->refAttaments), origin);
    zoomPicturesOf(*title);
  } else if (auto* option = dynamic_cast<EmsQuestionItemCell*>(&cell)) {
    const auto& item = question_->items.at(row - 1);
    if (auto label = option->contentLabel.lock()) label->setText(item->content.value_or(""));
    option->setReadonly(readonly);
    // The mark alone shows the choice; the table's selection only mirrors it.
    option->setSelectionStyle(pf::TableViewCell::SelectionStyle::None);
    option->cellType = question_->isOfType(EmsQuestion::kMultiple) ? EmsQuestionItemCell::kCheckBox
                                                                    : EmsQuestionItemCell::kRadio;
    option->setOptionSeleted(item->selected);
    option->refreshSelectionImageView();
    option->initAndAddImageViews(pictureUrls(item->refAttaments), origin);
    zoomPicturesOf(*option);
  } else if (auto* text = dynamic_cast<EmsQuestionTextViewCell*>(&cell)) {
    if (auto field = text->contentTextView.lock()) {
      field->layer()->setBorderWidth(1);
      field->layer()->setBorderColor(pf::Color::lightGray());
      field->setText(question_->inputText.value_or(""));
      field->setUserInteractionEnabled(!readonly);
      field->setDelegate(std::dynamic_pointer_cast<pf::TextViewDelegate>(shared_from_this()));
    }
    text->setReadonly(readonly);
  } else if (auto* answer = dynamic_cast<EmsQuestionAnswerCell*>(&cell)) {
    if (auto label = answer->answer.lock()) label->setText(question_->getRightAnswer());
    if (auto label = answer->analysis.lock()) label->setText(question_->analyze.value_or(""));
    answer->setReadonly(readonly);
  }
}

void EmsQuestionViewController::zoomPicturesOf(BaseQuestionCell& cell) {
  if (!focusManager) return;
  for (const auto& picture : cell.imageViews()) focusManager->installOnView(picture);
}

std::shared_ptr<const pf::Image> EmsQuestionViewController::photoZoomManagerImageForView(PhotoZoomManager&,
                                                                                       pf::View& view) {
  auto* picture = dynamic_cast<pf::ImageView*>(&view);
  return picture ? picture->image() : nullptr;
}

std::shared_ptr<pf::ViewController> EmsQuestionViewController::parentViewControllerForPhotoZoomManager(PhotoZoomManager&) {
  return parentController.lock();
}

void EmsQuestionViewController::didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) {
  if (!question_ || rowKind(indexPath.row) != RowKind::Item || readonly) return;
  const auto item = question_->items.at(indexPath.row - 1);
  const auto prev = question_->firstOrDefaultSelectedItem();
  if (choosesOne(*question_) && !item->selected && prev && prev->itemId != item->itemId) {
    prev->selected = false;
    const auto at = std::find(question_->items.begin(), question_->items.end(), prev);
    const pf::IndexPath prevPath = pf::IndexPath::forRow(at - question_->items.begin() + 1, 0);
    if (auto cell = std::dynamic_pointer_cast<EmsQuestionItemCell>(tableView.cellForRowAtIndexPath(prevPath)))
      cell->setOptionSeleted(false);
    tableView.deselectRowAtIndexPath(prevPath, false);
  }
  if (auto cell = std::dynamic_pointer_cast<EmsQuestionItemCell>(tableView.cellForRowAtIndexPath(indexPath)))
    cell->setOptionSeleted(true);
  item->selected = true;
  if (question_->isOfType(EmsQuestion::kAscertain)) {
    tableView.reloadData();
    mirrorSelectionInTable();
  }
  reportActivity();
}

void EmsQuestionViewController::didDeselectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) {
  if (!question_ || rowKind(indexPath.row) != RowKind::Item || readonly) return;
  if (auto cell = std::dynamic_pointer_cast<EmsQuestionItemCell>(tableView.cellForRowAtIndexPath(indexPath)))
    cell->setOptionSeleted(false);
  question_->items.at(indexPath.row - 1)->selected = false;
  reportActivity();
}

void EmsQuestionViewController::scrollViewDidScroll(pf::ScrollView& scrollView) {
  BaseTableViewController::scrollViewDidScroll(scrollView);
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
