#include "app/controller/blg/BlgTopicTableViewController.h"

#include "app/controller/blg/BlgTopicCell.h"
#include "app/controller/blg/TopicDetailViewController.h"
#include "app/model/blg/Topic.h"
#include "app/service/blg/TopicService.h"
#include "app/util/ViewUtil.h"
#include "platform/ui/Device.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"

BlgTopicTableViewController::BlgTopicTableViewController() = default;
BlgTopicTableViewController::~BlgTopicTableViewController() = default;

void BlgTopicTableViewController::initService() {
  topicService = std::make_shared<TopicService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
}

BlgBaseTableViewController::PageFetch BlgTopicTableViewController::pageFetch() const {
  return [service = topicService](const std::shared_ptr<Page>& page) { return service->getAllTopicListWithPage(page); };
}

void BlgTopicTableViewController::showPage(const pf::ArrayPtr& rows, bool more) {
  if (!more || !topicsArr) topicsArr = std::make_shared<pf::Array>();
  topicsArr->insert(topicsArr->end(), rows->begin(), rows->end());
}

long BlgTopicTableViewController::numberOfRowsInSection(pf::TableView&, long) {
  return topicsArr ? static_cast<long>(topicsArr->size()) : 0;
}

std::shared_ptr<pf::TableViewCell> BlgTopicTableViewController::cellForRowAtIndexPath(pf::TableView& tableView,
                                                                                     const pf::IndexPath& indexPath) {
  auto cell = reusableCell<BlgTopicCell>(&tableView);
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
