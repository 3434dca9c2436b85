#include "app/controller/cmn/BaseTableViewController.h"

#include "app/controller/cmn/NodataBgView.h"
#include "app/controller/cmn/ScreenErrors.h"
#include "app/controller/cmn/TableFooterView.h"
#include "app/service/cmn/SystemLogRecordSevice.h"
#include "app/util/ViewUtil.h"
#include "platform/graphics/Image.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/RefreshControl.h"
#include "platform/ui/Screen.h"

void BaseTableViewController::declareProperties(pf::ClassBuilder<BaseTableViewController>& b) {
  b.computed("viewName", "NSString", [](const BaseTableViewController& list) {
    const auto name = list.viewName();
    return name ? pf::Value(*name) : pf::Value();
  });
}

void BaseTableViewController::viewDidLoad() {
  pf::TableViewController::viewDidLoad();
  initService();
  initRefreshControl();
  initNodataView();
  if (enableLoadmore()) initFootView();
  SystemLogRecordSevice::takeALogForViewController(shared_from_this());
}

void BaseTableViewController::initRefreshControl() {
  if (!enableRefresh()) return;
  auto control = std::make_shared<pf::RefreshControl>();
  setRefreshControl(control);
  control->addTarget(weak_from_this(), "doRefresh", [this](pf::Control&, unsigned) { doRefresh(); },
                     pf::Control::kValueChanged);
}

void BaseTableViewController::doRefresh() {
  refreshData();
}

void BaseTableViewController::initNodataView() {
  if (!displayNodataViewIfNeeded()) return;
  nodataBgView_ = std::dynamic_pointer_cast<NodataBgView>(ViewUtil::viewFromNibOfClass(NodataBgView::kClassName));
  if (!nodataBgView_) return;
  nodataBgView_->setHidden(true);
  view()->addSubview(nodataBgView_);
  backupSepStyle_ = tableView()->separatorStyle();
}

void BaseTableViewController::initFootView() {
  auto footer = ViewUtil::viewFromNib(TableFooterView::kClassName, shared_from_this());
  tableView()->setTableFooterView(footer);
}

std::shared_ptr<TableFooterView> BaseTableViewController::footer() {
  return std::dynamic_pointer_cast<TableFooterView>(tableView()->tableFooterView());
}

bool BaseTableViewController::refreshData() {
  if (isRefreshing_) return false;
  isRefreshing_ = true;
  return true;
}

bool BaseTableViewController::loadMore() {
  if (isLoadingMore_) return false;
  willBeginLoadingMore();
  isLoadingMore_ = true;
  return true;
}

void BaseTableViewController::refreshDataComplete() {
  isRefreshing_ = false;
  if (refreshControl()) refreshControl()->endRefreshing();
  const bool hasData = hasDataInTableViewOfFirstSection();
  if (displayNodataViewIfNeeded()) refreshNodataView(hasData);
  if (auto foot = footer(); foot && foot->infoLabel) {
    foot->infoLabel->setHidden(!(enableLoadmore() && hasData && !canLoadMore()));
  }
}

void BaseTableViewController::loadMoreCompleted() {
  if (auto foot = footer()) {
    if (foot->activityIndicator) foot->activityIndicator->stopAnimating();
    if (!canLoadMore() && foot->infoLabel) foot->infoLabel->setHidden(false);
  }
  isLoadingMore_ = false;
}

void BaseTableViewController::willBeginRefreshData() {
  auto control = refreshControl();
  if (!control) return;
  control->beginRefreshing();
  tableView()->setContentOffset({0, -control->frame().height()}, true);
}

void BaseTableViewController::willBeginLoadingMore() {
  if (auto foot = footer(); foot && foot->activityIndicator) foot->activityIndicator->startAnimating();
}

void BaseTableViewController::refreshNodataView(bool hasData) {
  if (nodataBgView_) nodataBgView_->setHidden(hasData);
  tableView()->setSeparatorStyle(hasData ? backupSepStyle_ : pf::TableView::SeparatorStyle::None);
}

void BaseTableViewController::resetNodataViewImageName(const std::string& imageName,
                                                       const std::optional<std::string>& text) {
  if (!displayNodataViewIfNeeded() || !nodataBgView_) return;
  if (auto image = nodataBgView_->centerImageView.lock())
    image->setImage(pf::Image::named(imageName, pf::Screen::mainScreen().scale()));
  if (auto label = nodataBgView_->centerLabel.lock()) label->setText(text);
}

bool BaseTableViewController::hasDataInTableViewOfFirstSection() {
  auto table = tableView();
  return table->numberOfSections() > 0 && table->numberOfRowsInSection(0) > 0;
}

void BaseTableViewController::scrollViewDidScroll(pf::ScrollView& scrollView) {
  if (isLoadingMore_ || !canLoadMore()) return;
  const double remaining =
      scrollView.contentSize().height - scrollView.frame().height() - scrollView.contentOffset().y;
  const auto& foot = tableView()->tableFooterView();
  const double footerHeight = foot ? foot->frame().height() : 0;
  if (remaining > 0 && remaining < footerHeight) loadMore();
}

void BaseTableViewController::willDisplayCell(pf::TableView&, pf::TableViewCell& cell, const pf::IndexPath&) {
  cell.setBackgroundColor(pf::Color::clear());
}

void BaseTableViewController::onError(const pf::ErrorPtr& error, const std::string&) {
  if (handleSessionError(error)) return;
  ScreenErrors::showFirstCause(*this, error);
}

bool BaseTableViewController::handleSessionError(const pf::ErrorPtr& error) {
  return ScreenErrors::handleSessionError(*this, error, [list = sharedAs<BaseTableViewController>()] {
    list->backToLoginViewController();
  });
}

void BaseTableViewController::backToLoginViewController() {
  ScreenErrors::backToLoginViewController();
}

void BaseTableViewController::setNavgationItemTitle(const std::string& title) {
  navigationItem()->setTitleView(ScreenErrors::navigationTitleLabel(title));
}

void BaseTableViewController::showErrorInfoWithMessage(const std::string& message, std::weak_ptr<ProgressHUDDelegate> delegate) {
  ScreenErrors::showErrorInfoWithMessage(*this, message, std::move(delegate));
}
