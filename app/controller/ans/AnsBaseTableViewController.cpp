#include "app/controller/ans/AnsBaseTableViewController.h"

#include "app/controller/cmn/CmnWaitPromptView.h"
#include "app/model/cmn/Page.h"
#include "core/util/CommonUtil.h"
#include "platform/foundation/DispatchQueue.h"
#include "platform/graphics/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Screen.h"

namespace {

std::shared_ptr<Page> ansPageCopy(const Page& page) {
  auto copy = std::make_shared<Page>();
  copy->pageNo = page.pageNo;
  copy->pageSize = page.pageSize;
  copy->autoCount = page.autoCount;
  copy->autoPaging = page.autoPaging;
  copy->total = page.total;
  return copy;
}

}  // namespace

bool AnsBaseTableViewController::enableRefresh() const {
  return CommonUtil::isOnline();
}
bool AnsBaseTableViewController::enableLoadmore() const {
  return CommonUtil::isOnline();
}

bool AnsBaseTableViewController::canLoadMore() const {
  return currentPage && currentPage->hasNextPage() && CommonUtil::isOnline();
}

AnsBaseTableViewController::Request AnsBaseTableViewController::requestData(int, std::shared_ptr<Page>) {
  return {};
}

void AnsBaseTableViewController::viewDidLoad() {
  BaseTableViewController::viewDidLoad();
  currentPage = std::make_shared<Page>();
  auto background =
      std::make_shared<pf::ImageView>(pf::Image::named("CMN_BASE_bg.png", pf::Screen::mainScreen().scale()));
  tableView()->setBackgroundView(background);
  loadType = kLoadRefresh;
  shouldShowPromptView = true;
  const double height = pf::Screen::mainScreen().bounds().width() / 320 * 30;
  const pf::Rect bounds = view()->bounds();
  promptView = std::make_shared<CmnWaitPromptView>(
      pf::Rect(0, (bounds.height() - height) * 0.5, bounds.width(), height));
  promptView->setPromptStr(kWaitPrompt);
  view()->addSubview(promptView);
}

bool AnsBaseTableViewController::refreshData() {
  if (!BaseTableViewController::refreshData()) return false;
  loadType = kLoadRefresh;
  ++refreshGeneration_;
  if (!currentPage) currentPage = std::make_shared<Page>();
  currentPage->pageNo = 1;
  currentPage->autoCount = true;
  if (shouldShowPromptView && !hasVisibleCells() && promptView) promptView->show();
  load(kLoadRefresh, ansPageCopy(*currentPage));
  return true;
}

bool AnsBaseTableViewController::loadMore() {
  if (!BaseTableViewController::loadMore()) return false;
  if (!currentPage || !currentPage->hasNextPage()) {
    loadMoreCompleted();
    return false;
  }
  loadType = kLoadMore;
  auto page = ansPageCopy(*currentPage);
  page->pageNo = currentPage->pageNo + 1;
  page->autoCount = false;
  load(kLoadMore, std::move(page));
  return true;
}

void AnsBaseTableViewController::load(int type, std::shared_ptr<Page> page) {
  Request request = requestData(type, std::move(page));
  std::weak_ptr<AnsBaseTableViewController> weak =
      std::static_pointer_cast<AnsBaseTableViewController>(shared_from_this());
  const unsigned generation = refreshGeneration_;
  pf::DispatchQueue::global()->async([weak, request, type, generation] {
    ApplyStep apply = request ? request() : ApplyStep();
    pf::DispatchQueue::main()->async([weak, apply, type, generation] {
      auto self = weak.lock();
      if (!self) return;
      // A refresh began after this load-more: its rows belong to an older list.
      const bool stale = type == kLoadMore && generation != self->refreshGeneration_;
      if (apply && !stale) apply();
      self->finishLoad(type);
    });
  });
}

void AnsBaseTableViewController::finishLoad(int type) {
  tableView()->reloadData();
  if (type == kLoadRefresh) {
    refreshDataComplete();
    if (promptView) promptView->hide();
  } else {
    loadMoreCompleted();
  }
  // Shown again when rows come: an empty load must not hide the footer for good.
  if (const auto& footer = tableView()->tableFooterView()) footer->setHidden(!hasVisibleCells());
}

bool AnsBaseTableViewController::hasVisibleCells() {
  return !tableView()->visibleCells().empty();
}
