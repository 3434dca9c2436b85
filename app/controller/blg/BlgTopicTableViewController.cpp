#include "app/controller/blg/BlgTopicTableViewController.h"

#include "app/model/cmn/Page.h"
#include "app/service/blg/TopicService.h"

BlgTopicTableViewController::BlgTopicTableViewController() = default;
BlgTopicTableViewController::~BlgTopicTableViewController() = default;

bool BlgTopicTableViewController::canLoadMore() const { return currentPage && currentPage->hasNextPage(); }

void BlgTopicTableViewController::initService() {}
void BlgTopicTableViewController::viewDidLoad() { BlgBaseTableViewController::viewDidLoad(); }
void BlgTopicTableViewController::refreshDataOnline() {}
void BlgTopicTableViewController::refreshDataOffline() {}
bool BlgTopicTableViewController::loadMore() { return BlgBaseTableViewController::loadMore(); }

long BlgTopicTableViewController::numberOfRowsInSection(pf::TableView&, long) { return 0; }
std::shared_ptr<pf::TableViewCell> BlgTopicTableViewController::cellForRowAtIndexPath(pf::TableView&,
                                                                                      const pf::IndexPath&) {
  return nullptr;
}
std::optional<double> BlgTopicTableViewController::heightForRowAtIndexPath(pf::TableView&, const pf::IndexPath&) {
  return 55;
}
void BlgTopicTableViewController::didSelectRowAtIndexPath(pf::TableView&, const pf::IndexPath&) {}
