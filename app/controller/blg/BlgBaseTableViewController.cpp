#include "app/controller/blg/BlgBaseTableViewController.h"

#include "app/controller/blg/BlgPageLoader.h"
#include "app/util/ViewUtil.h"
#include "core/util/CommonUtil.h"
#include "platform/ui/TableViewCell.h"

BlgBaseTableViewController::BlgBaseTableViewController(pf::TableView::Style style)
    : BaseTableViewController(style), pageLoader(std::make_shared<BlgPageLoader>()) {}
BlgBaseTableViewController::BlgBaseTableViewController(std::string nibName)
    : BaseTableViewController(std::move(nibName)), pageLoader(std::make_shared<BlgPageLoader>()) {}
BlgBaseTableViewController::~BlgBaseTableViewController() = default;

bool BlgBaseTableViewController::refreshData() {
  if (!BaseTableViewController::refreshData()) return false;
  if (CommonUtil::isOnline()) {
    refreshDataOnline();
  } else {
    refreshDataOffline();
  }
  return true;
}

void BlgBaseTableViewController::refreshDataOnline() { loadPage(false); }

void BlgBaseTableViewController::refreshDataOffline() { showOfflineAndComplete(); }

bool BlgBaseTableViewController::loadMore() {
  if (!BaseTableViewController::loadMore()) return false;
  loadPage(true);
  return true;
}

bool BlgBaseTableViewController::canLoadMore() const {
  return enableLoadmore() ? pageLoader->hasNextPage() : BaseTableViewController::canLoadMore();
}

std::shared_ptr<Page> BlgBaseTableViewController::currentPage() const { return pageLoader->currentPage(); }

void BlgBaseTableViewController::showPage(const pf::ArrayPtr&, bool) {}

std::shared_ptr<pf::TableViewCell> BlgBaseTableViewController::reusableCellOf(pf::TableView* table,
                                                                           const std::string& identifier,
                                                                           const std::string& className) {
  if (table) {
    if (auto cell = table->dequeueReusableCellWithIdentifier(identifier)) return cell;
  }
  auto cell = std::dynamic_pointer_cast<pf::TableViewCell>(ViewUtil::viewFromNibOfClass(className));
  if (cell) cell->setReuseIdentifier(identifier);
  return cell;
}

void BlgBaseTableViewController::showOfflineAndComplete() {
  showErrorInfoWithMessage(kOfflineMessage);
  refreshDataComplete();
}

void BlgBaseTableViewController::loadPage(bool more) {
  std::weak_ptr<BlgBaseTableViewController> weak = sharedAs<BlgBaseTableViewController>();
  auto done = [weak, more] {
    auto self = weak.lock();
    if (!self) return;
    if (more) {
      self->loadMoreCompleted();
    } else {
      self->refreshDataComplete();
    }
  };
  auto fetch = pageFetch();
  if (!fetch) return done();
  auto apply = [weak, more](const pf::ArrayPtr& rows) {
    auto self = weak.lock();
    if (!self) return;
    if (!more) self->refreshSucceeded();
    self->showPage(rows, more);
    self->tableView()->reloadData();
  };
  if (more) {
    pageLoader->loadMore(std::move(fetch), std::move(apply), std::move(done));
  } else {
    pageLoader->refresh(std::move(fetch), std::move(apply), std::move(done));
  }
}
