#include "app/controller/blg/BlgTopicTableViewController.h"

#include "app/controller/blg/BlgPageLoader.h"
#include "app/controller/blg/BlgTopicCell.h"
#include "app/controller/blg/TopicDetailViewController.h"
#include "app/model/blg/Topic.h"
#include "app/model/cmn/Page.h"
#include "app/service/blg/TopicService.h"
#include "app/util/ViewUtil.h"
#include "platform/ui/Device.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"

BlgTopicTableViewController::BlgTopicTableViewController() : pageLoader_(std::make_shared<BlgPageLoader>()) {}
BlgTopicTableViewController::~BlgTopicTableViewController() = default;

bool BlgTopicTableViewController::canLoadMore() const { return currentPage && currentPage->hasNextPage(); }

void BlgTopicTableViewController::initService() {
  topicService = std::make_shared<TopicService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
}

void BlgTopicTableViewController::viewDidLoad() {
  BlgBaseTableViewController::viewDidLoad();
  currentPage = std::make_shared<Page>();
}

void BlgTopicTableViewController::refreshDataOnline() { load(false); }

bool BlgTopicTableViewController::loadMore() {
  if (!BlgBaseTableViewController::loadMore()) return false;
  load(true);
  return true;
}

// Each call pages on its own copy, so a failed load-more asks for the same page again next time.
void BlgTopicTableViewController::load(bool more) {
  std::weak_ptr<BlgTopicTableViewController> weak = sharedAs<BlgTopicTableViewController>();
  auto fetch = [service = topicService](const std::shared_ptr<Page>& page) {
    return service->getAllTopicListWithPage(page);
  };
  auto apply = [weak, more](const pf::ArrayPtr& rows) {
    auto self = weak.lock();
    if (!self) return;
    self->currentPage = self->pageLoader_->currentPage();
    if (!more || !self->topicsArr) self->topicsArr = std::make_shared<pf::Array>();
    self->topicsArr->insert(self->topicsArr->end(), rows->begin(), rows->end());
    self->tableView()->reloadData();
  };
  if (more) {
    pageLoader_->loadMore(fetch, apply, [weak] {
      if (auto self = weak.lock()) self->loadMoreCompleted();
    });
  } else {
    pageLoader_->refresh(fetch, apply, [weak] {
      if (auto self = weak.lock()) self->refreshDataComplete();
    });
  }
}

long BlgTopicTableViewController::numberOfRowsInSection(pf::TableView&, long) {
  return topicsArr ? static_cast<long>(topicsArr->size()) : 0;
}

std::shared_ptr<pf::TableViewCell> BlgTopicTableViewController::cellForRowAtIndexPath(pf::TableView& tableView,
                                                                                     const pf::IndexPath& indexPath) {
  auto cell = std::dynamic_pointer_cast<BlgTopicCell>(tableView.dequeueReusableCellWithIdentifier(BlgTopicCell::kReuseIdentifier));
  if (!cell) {
    cell = std::dynamic_pointer_cast<BlgTopicCell>(ViewUtil::viewFromNibOfClass(BlgTopicCell::kClassName));
    cell->setReuseIdentifier(BlgTopicCell::kReuseIdentifier);
  }
  std::shared_ptr<Topic> topic;
  if (topicsArr && indexPath.row >= 0 && static_cast<size_t>(indexPath.row) < topicsArr->size())
    topic = topicsArr->at(indexPath.row).objectAs<Topic>();
  if (auto title = cell->titleLabel.lock()) title->setText(topic ? topic->title.value_or("") : "");
  return cell;
}

std::optional<double> BlgTopicTableViewController::heightForRowAtIndexPath(pf::TableView&, const pf::IndexPath&) {
  if (pf::Device::currentDevice().userInterfaceIdiom() != pf::Device::Idiom::Pad) return kRowHeight;
  return pf::Screen::mainScreen().bounds().height() / 480 * kRowHeight;
}

void BlgTopicTableViewController::didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) {
  tableView.deselectRowAtIndexPath(indexPath, true);
  if (!topicsArr || indexPath.row < 0 || static_cast<size_t>(indexPath.row) >= topicsArr->size()) return;
  auto topic = topicsArr->at(indexPath.row).objectAs<Topic>();
  if (!topic) return;
  if (auto container = baseTableViewDelegate.lock()) container->tableViewDidSelectRow(indexPath);
  auto detail = std::dynamic_pointer_cast<TopicDetailViewController>(
      ViewUtil::viewControllerFromNibOfClass(TopicDetailViewController::kClassName));
  auto navigation = navigationController();
  if (!detail || !navigation) return;
  detail->topicID = topic->topicId;
  detail->topicName = topic->title;
  detail->parentController = parentController;
  detail->setHidesBottomBarWhenPushed(true);
  navigation->pushViewController(detail, true);
}
