#include "app/controller/cms/CmsSearchViewController.h"

#include <algorithm>

#include "app/controller/cmn/CmnEmbeddedChild.h"
#include "app/controller/cms/CmsSearchResultTableViewController.h"
#include "app/controller/cms/CmsSearchViewDelegate.h"
#include "app/model/cms/CmsSearchInfo.h"
#include "app/service/cms/CmsSearchService.h"
#include "app/util/ViewUtil.h"
#include "platform/text/Font.h"
#include "platform/ui/Device.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TextField.h"
#include "ui/extension/ColorExpanded.h"

CmsSearchViewController::CmsSearchViewController() = default;
CmsSearchViewController::CmsSearchViewController(std::string nibName) : BaseViewController(std::move(nibName)) {}
CmsSearchViewController::~CmsSearchViewController() = default;

void CmsSearchViewController::initService() {
  searchService = std::make_shared<CmsSearchService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
}

void CmsSearchViewController::viewDidLoad() {
  BaseViewController::viewDidLoad();
  setNavgationItemTitle(kTitle);
  setShowBackBtn(false);
  auto self = sharedAs<CmsSearchViewController>();
  auto results = std::make_shared<CmsSearchResultTableViewController>();
  CmnEmbeddedChild::embed(*this, results, resultContainer.lock());
  results->courseDelegate = std::weak_ptr<CmsCourseTableViewDelegate>(self);
  searchResultTableViewController = results;
  if (auto history = tableView.lock()) {
    history->setDataSource(std::weak_ptr<pf::TableViewDataSource>(self));
    history->setDelegate(std::weak_ptr<pf::TableViewDelegate>(self));
    history->setBackgroundColor(pf::Color::clear());
  }
  showHistory(true);
  auto bar = mainSearchBar.lock();
  if (!bar) return;
  bar->setDelegate(std::weak_ptr<pf::SearchBarDelegate>(self));
  bar->setTintColor(ColorExpanded::colorWithRGBHex(kSearchBarTint));
  if (pf::Device::currentDevice().userInterfaceIdiom() == pf::Device::Idiom::Pad) return;
  std::weak_ptr<CmsSearchViewController> weak = self;
  bar->textField();  // the bar lays its field in lazily
  for (const auto& subview : bar->subviews()) {
    if (!std::dynamic_pointer_cast<pf::TextField>(subview)) continue;
    ViewUtil::keyBoardShouldShowHiddenButtonOfTextField(subview, true, weak, [weak] {
      if (auto screen = weak.lock()) screen->editDone();
    });
  }
}

void CmsSearchViewController::viewWillAppear(bool animated) {
  BaseViewController::viewWillAppear(animated);
  if (auto bar = mainSearchBar.lock()) {
    bar->resignFirstResponder();
    bar->setText(std::string());
  }
  layoutBelowSearchBar();
  reloadHistory();
  if (auto root = searchDelegate.lock()) root->enableAppNavigator();
}

void CmsSearchViewController::viewDidAppear(bool animated) {
  BaseViewController::viewDidAppear(animated);
  layoutBelowSearchBar();
}

void CmsSearchViewController::layoutBelowSearchBar() {
  auto bar = mainSearchBar.lock();
  if (!bar) return;
  const pf::Rect bounds = view()->bounds();
  const double top = bar->frame().maxY();
  auto below = [&](const std::shared_ptr<pf::View>& part, double y) {
    if (part) part->setFrame(pf::Rect(part->frame().minX(), y, part->frame().width(), std::max(0.0, bounds.height() - y)));
  };
  below(resultContainer.lock(), top);
  double historyTop = top;
  if (auto caption = searchLabel.lock()) {
    caption->setFrame(pf::Rect(caption->frame().minX(), top + 6, caption->frame().width(), caption->frame().height()));
    historyTop = caption->frame().maxY() + 4;
  }
  below(tableView.lock(), historyTop);
}

void CmsSearchViewController::reloadHistory() {
  searchArr = searchService->findAllCourseSearchInfo();
  if (auto history = tableView.lock()) history->reloadData();
}

void CmsSearchViewController::showHistory(bool show) {
  if (auto history = tableView.lock()) history->setHidden(!show);
  if (auto caption = searchLabel.lock()) caption->setHidden(!show);
  if (auto results = searchResultTableViewController.lock()) results->tableView()->setHidden(show);
  // The results' container lies over the history: hidden with them, or it takes the history's touches.
  if (auto container = resultContainer.lock()) container->setHidden(show);
}

bool CmsSearchViewController::showsResults() const {
  auto results = searchResultTableViewController.lock();
  return results && !results->tableView()->isHidden();
}

void CmsSearchViewController::searchBarTextDidBeginEditing(pf::SearchBar&) {
  showHistory(true);
  reloadHistory();
}

void CmsSearchViewController::searchBarSearchButtonClicked(pf::SearchBar& bar) {
  updateTableResourceWithText(bar.text());
}

void CmsSearchViewController::editDone() {
  if (auto bar = mainSearchBar.lock()) bar->resignFirstResponder();
}

void CmsSearchViewController::updateTableResourceWithText(const std::string& text) {
  auto bar = mainSearchBar.lock();
  if (bar) bar->resignFirstResponder();
  searchService->updateCourseSearchTableWithSearchStr(text);
  showHistory(false);
  auto results = searchResultTableViewController.lock();
  if (!results) return;
  results->searchKey = bar ? bar->text() : text;
  results->willBeginRefreshData();
  results->refreshData();
}

long CmsSearchViewController::numberOfRowsInSection(pf::TableView&, long) {
  return static_cast<long>(searchArr.size());
}

std::shared_ptr<pf::TableViewCell> CmsSearchViewController::cellForRowAtIndexPath(pf::TableView& table,
                                                                                 const pf::IndexPath& indexPath) {
  auto cell = table.dequeueReusableCellWithIdentifier(kHistoryCellIdentifier);
  if (!cell) cell = std::make_shared<pf::TableViewCell>(pf::TableViewCell::CellStyle::Default, std::string(kHistoryCellIdentifier));
  const auto& info = searchArr.at(indexPath.row);
  cell->textLabel()->setText(info->title.value_or(""));
  cell->textLabel()->setFont(pf::Font::systemFont(pf::Screen::mainScreen().bounds().width() / 320 * 16));
  return cell;
}

std::optional<double> CmsSearchViewController::heightForRowAtIndexPath(pf::TableView&, const pf::IndexPath&) {
  return pf::Screen::mainScreen().bounds().height() / 480 * 50;
}

void CmsSearchViewController::willDisplayCell(pf::TableView&, pf::TableViewCell& cell, const pf::IndexPath&) {
  cell.setBackgroundColor(pf::Color::clear());
}

void CmsSearchViewController::didSelectRowAtIndexPath(pf::TableView& table, const pf::IndexPath& indexPath) {
  table.deselectRowAtIndexPath(indexPath, true);
  if (indexPath.row < 0 || static_cast<size_t>(indexPath.row) >= searchArr.size()) return;
  const std::string text = searchArr[indexPath.row]->title.value_or("");
  if (auto bar = mainSearchBar.lock()) bar->setText(text);
  updateTableResourceWithText(text);
}

void CmsSearchViewController::tableViewDidSelectItem() {
  if (auto root = searchDelegate.lock()) root->disableAppNavigator();
}
