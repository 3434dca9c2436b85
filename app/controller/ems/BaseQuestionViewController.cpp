#include "app/controller/ems/BaseQuestionViewController.h"

#include <limits>

#include "app/components/photozoom/PhotoZoomManager.h"
#include "app/controller/ems/EmsQuestionItemCell.h"
#include "app/controller/ems/EmsQuestionTextViewCell.h"
#include "app/controller/ems/EmsQuestionTitleCell.h"
#include "app/util/ViewUtil.h"
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

std::string baseQuestionRowKey(long row) {
  return pf::format("%d", static_cast<int>(row));
}

}  // namespace

BaseQuestionViewController::BaseQuestionViewController() = default;
BaseQuestionViewController::~BaseQuestionViewController() = default;

void BaseQuestionViewController::viewDidLoad() {
  BaseTableViewController::viewDidLoad();
  focusManager = std::make_shared<PhotoZoomManager>();
  focusManager->setDelegate(std::dynamic_pointer_cast<PhotoZoomDelegate>(shared_from_this()));
  tableView()->setAllowsMultipleSelection(choosesMany());
}

// Ending the edit first stores the text into the question it was typed for.
void BaseQuestionViewController::changeQuestion(const std::function<void()>& replace) {
  if (isViewLoaded()) view()->endEditing(true);
  replace();
  cellImageOriginDic.clear();
  if (isViewLoaded()) tableView()->setAllowsMultipleSelection(choosesMany());
}

bool BaseQuestionViewController::refreshData() {
  if (!BaseTableViewController::refreshData()) return false;
  tableView()->reloadData();
  mirrorSelectionInTable();
  refreshDataComplete();
  return true;
}

void BaseQuestionViewController::mirrorSelectionInTable() {
  for (long option = 0; option < optionCount(); ++option)
    if (optionSelected(option))
      tableView()->selectRowAtIndexPath(optionPath(option), false, pf::TableView::ScrollPosition::None);
}

pf::IndexPath BaseQuestionViewController::optionPath(long option) {
  return pf::IndexPath::forRow(option + 1, 0);
}

// Row heights.

double BaseQuestionViewController::widthScale() {
  return pf::Screen::mainScreen().bounds().width() / 320;
}

double BaseQuestionViewController::heightScale() {
  return pf::Screen::mainScreen().bounds().height() / 480;
}

double BaseQuestionViewController::textHeight(const std::optional<std::string>& text, double fontSize,
                                              double width) {
  return pf::StringDrawing::sizeOfText(text.value_or(std::string()), *pf::Font::systemFont(fontSize),
                                       {width, std::numeric_limits<double>::infinity()}, pf::LineBreakMode::charWrap)
      .height;
}

std::optional<double> BaseQuestionViewController::heightForRowAtIndexPath(pf::TableView&,
                                                                          const pf::IndexPath& indexPath) {
  return rowHeight(indexPath.row);
}

double BaseQuestionViewController::rowOverPictures(long row, double text, size_t pictures) {
  const double w = widthScale(), h = heightScale();
  cellImageOriginDic[baseQuestionRowKey(row)] = pf::Point(w * 20, text + h * 20);
  return text + (w * 10 + h * 60) * static_cast<double>(pictures) + w * 10;
}

double BaseQuestionViewController::titleRowHeight(long row, const std::optional<std::string>& text,
                                                  size_t pictures) {
  const double w = widthScale();
  return rowOverPictures(row, textHeight(text, w * 18, w * 280), pictures);
}

double BaseQuestionViewController::optionRowHeight(long row, const std::optional<std::string>& text,
                                                   size_t pictures) {
  const double w = widthScale();
  return rowOverPictures(row, textHeight(text, w * 16, w * 235), pictures);
}

double BaseQuestionViewController::textRowHeight() {
  return heightScale() * 120 + widthScale() * 10;
}

pf::Point BaseQuestionViewController::imageOrigin(long row) const {
  const auto found = cellImageOriginDic.find(baseQuestionRowKey(row));
  return found == cellImageOriginDic.end() ? pf::Point(0, 0) : found->second;
}

// Rows.

std::shared_ptr<pf::TableViewCell> BaseQuestionViewController::cellForRowAtIndexPath(pf::TableView& tableView,
                                                                                     const pf::IndexPath& indexPath) {
  const std::string identifier = cellIdentifier(indexPath.row);
  auto cell = tableView.dequeueReusableCellWithIdentifier(identifier);
  if (!cell) {
    cell = std::dynamic_pointer_cast<pf::TableViewCell>(ViewUtil::viewFromNibWithNibName(identifier));
    cell->setReuseIdentifier(identifier);
  }
  fillCell(*cell, indexPath.row);
  return cell;
}

void BaseQuestionViewController::fillTitle(EmsQuestionTitleCell& cell, long row, const std::optional<std::string>& text,
                                           const std::vector<std::string>& pictures) {
  if (auto label = cell.contentLabel.lock()) label->setText(text.value_or(""));
  cell.setReadonly(false);
  cell.initAndAddImageViews(pictures, imageOrigin(row));
  zoomPicturesOf(cell);
}

void BaseQuestionViewController::fillOption(EmsQuestionItemCell& cell, long row, const std::optional<std::string>& text,
                                            bool readonly, bool selected, const std::vector<std::string>& pictures) {
  if (auto label = cell.contentLabel.lock()) label->setText(text.value_or(""));
  cell.setReadonly(readonly);
  cell.setSelectionStyle(pf::TableViewCell::SelectionStyle::None);
  cell.cellType = choosesMany() ? EmsQuestionItemCell::kCheckBox : EmsQuestionItemCell::kRadio;
  cell.setOptionSeleted(selected);
  cell.refreshSelectionImageView();
  cell.initAndAddImageViews(pictures, imageOrigin(row));
  zoomPicturesOf(cell);
}

void BaseQuestionViewController::fillTextRow(EmsQuestionTextViewCell& cell, const std::optional<std::string>& text,
                                             bool readonly) {
  if (auto field = cell.contentTextView.lock()) {
    field->layer()->setBorderWidth(1);
    field->layer()->setBorderColor(pf::Color::lightGray());
    field->setText(text.value_or(""));
    field->setDelegate(std::dynamic_pointer_cast<pf::TextViewDelegate>(shared_from_this()));
  }
  cell.setReadonly(readonly);
}

void BaseQuestionViewController::markChoice(pf::TableView& tableView, long option, std::optional<long> previous) {
  if (previous && *previous != option) {
    unmarkChoice(tableView, *previous);
    tableView.deselectRowAtIndexPath(optionPath(*previous), false);
  }
  if (auto cell = std::dynamic_pointer_cast<EmsQuestionItemCell>(tableView.cellForRowAtIndexPath(optionPath(option))))
    cell->setOptionSeleted(true);
}

void BaseQuestionViewController::unmarkChoice(pf::TableView& tableView, long option) {
  if (auto cell = std::dynamic_pointer_cast<EmsQuestionItemCell>(tableView.cellForRowAtIndexPath(optionPath(option))))
    cell->setOptionSeleted(false);
}

// Pictures.

void BaseQuestionViewController::zoomPicturesOf(BaseQuestionCell& cell) {
  if (!focusManager) return;
  for (const auto& picture : cell.imageViews()) focusManager->installOnView(picture);
}

std::shared_ptr<const pf::Image> BaseQuestionViewController::photoZoomManagerImageForView(PhotoZoomManager&,
                                                                                        pf::View& view) {
  auto* picture = dynamic_cast<pf::ImageView*>(&view);
  return picture ? picture->image() : nullptr;
}

std::shared_ptr<pf::ViewController> BaseQuestionViewController::parentViewControllerForPhotoZoomManager(
    PhotoZoomManager&) {
  return parentController.lock();
}
