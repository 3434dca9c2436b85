#include "app/controller/blg/MyTopicTableViewController.h"

#include "app/controller/blg/BlgPageLoader.h"
#include "app/model/cmn/Page.h"
#include "app/service/blg/TopicService.h"
#include "platform/ui/TableView.h"

MyTopicTableViewController::MyTopicTableViewController() : pageLoader_(std::make_shared<BlgPageLoader>()) {}
MyTopicTableViewController::~MyTopicTableViewController() = default;

bool MyTopicTableViewController::canLoadMore() const { return pageLoader_->hasNextPage(); }

void MyTopicTableViewController::refreshDataOnline() { load(false); }

bool MyTopicTableViewController::loadMore() {
  if (!BlgBaseTableViewController::loadMore()) return false;
  load(true);
  return true;
}

void MyTopicTableViewController::load(bool more) {
  std::weak_ptr<MyTopicTableViewController> weak = sharedAs<MyTopicTableViewController>();
  auto fetch = [service = topicService, id = userID](const std::shared_ptr<Page>& page) {
    return service ? service->getTopicsWithUserID(id, page) : nullptr;
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
