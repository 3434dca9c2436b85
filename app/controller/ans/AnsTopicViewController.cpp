#include "app/controller/ans/AnsTopicViewController.h"

#include "app/controller/ans/AnsTabBar.h"
#include "app/controller/ans/AnsTopicDetailViewController.h"
#include "app/controller/ans/AnsTopicFocusCell.h"
#include "app/controller/ans/AnsTopicViewCell.h"
#include "app/controller/cmn/CmnNaviBtnItem.h"
#include "app/model/ans/QuestionTopic.h"
#include "app/model/cmn/Page.h"
#include "app/service/ans/AnsService.h"
#include "app/util/ViewUtil.h"
#include "platform/foundation/Format.h"
#include "platform/ui/Device.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TabBarController.h"
#include "ui/deck/PanelDeckController.h"
#include "ui/deck/PanelDeckItem.h"

AnsTopicViewController::AnsTopicViewController() = default;
AnsTopicViewController::AnsTopicViewController(std::string nibName) : AnsBaseTableViewController(std::move(nibName)) {}
AnsTopicViewController::~AnsTopicViewController() = default;

double AnsTopicViewController::rowHeight() {
  if (pf::Device::currentDevice().userInterfaceIdiom() == pf::Device::Idiom::Pad)
    return pf::Screen::mainScreen().bounds().height() / 480 * 50;
  return 50;
}

void AnsTopicViewController::setViewType(int viewType) {
  viewType_ = viewType;
  std::weak_ptr<AnsTopicViewController> weak = std::static_pointer_cast<AnsTopicViewController>(shared_from_this());
  if (viewType == kAllTopics) {
    setNavgationItemTitle("话题");
    // The deck is looked up at the tap: the list is not inside it yet.
    auto menu = std::make_shared<CmnNaviBtnItem>("CMN_BASE_menu_n.png", "CMN_BASE_menu_p.png", std::nullopt,
                                                 std::nullopt, weak, [weak] {
                                                   if (auto self = weak.lock()) self->toggleMenu();
                                                 });
    menu->setItemSize(pf::Size(38, 30));
    navigationItem()->setLeftBarButtonItem(menu);
    return;
  }
  if (viewType == kMyTopics) setNavgationItemTitle("我的话题");
  auto back = std::make_shared<CmnNaviBtnItem>("CMN_BASE_btn_n.png", "CMN_BASE_btn_p.png", std::nullopt, "返回", weak,
                                               [weak] {
                                                 if (auto self = weak.lock()) self->goback();
                                               });
  navigationItem()->setLeftBarButtonItem(back);
}

void AnsTopicViewController::toggleMenu() {
  if (auto deck = panelDeckController(*this)) deck->toggleLeftView();
}

bool AnsTopicViewController::isOnTop() const {
  auto navigation = navigationController();
  return navigation && navigation->topViewController().get() == this;
}

void AnsTopicViewController::goback() {
  if (auto navigation = navigationController(); navigation && isOnTop()) navigation->popViewControllerAnimated(true);
}

void AnsTopicViewController::viewDidLoad() {
  AnsBaseTableViewController::viewDidLoad();
  answerService = std::make_shared<AnsService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
  topicInfoList.clear();
  resultHUD = ProgressHUD::initWithView(view());
  view()->addSubview(resultHUD);
  resultHUD->setMode(ProgressHUD::kCustomView);
  resetNodataViewImageName(kNoTopicImage, kNoTopicText);
  refreshData();
}

AnsTopicViewController::Request AnsTopicViewController::requestData(int type, std::shared_ptr<Page> page) {
  if (viewType_ != kAllTopics && viewType_ != kMyTopics) return {};
  std::weak_ptr<AnsTopicViewController> weak = std::static_pointer_cast<AnsTopicViewController>(shared_from_this());
  return [weak, service = answerService, viewType = viewType_, type, page]() -> ApplyStep {
    if (!service) return {};
    if (viewType == kMyTopics) {
      auto topics = service->loadMyConcernedTopics();
      return [weak, topics] {
        auto self = weak.lock();
        if (!self) return;
        self->topicInfoList = topics.value_or(std::vector<std::shared_ptr<QuestionTopic>>());
        // Followed when listed; from here on the switch and the flag agree.
        for (const auto& topic : self->topicInfoList)
          if (topic) topic->isFocused = true;
      };
    }
    AnsService::PagePtr answer = service->loadLatestTopicsBySearchText(std::nullopt, page);
    std::vector<std::shared_ptr<QuestionTopic>> rows;
    if (answer && answer->rows)
      for (const pf::Value& row : *answer->rows)
        if (auto topic = row.objectAs<QuestionTopic>()) rows.push_back(topic);
    return [weak, answer, rows = std::move(rows), type] {
      auto self = weak.lock();
      if (!self) return;
      self->currentPage = answer;
      if (type == kLoadRefresh)
        self->topicInfoList = rows;
      else
        self->topicInfoList.insert(self->topicInfoList.end(), rows.begin(), rows.end());
    };
  };
}

void AnsTopicViewController::clickTopic(const std::shared_ptr<QuestionTopic>& topic) {
  if (!topic || !answerService) return;
  std::string prompt;
  if (topic->isFocused) {
    const bool ok = answerService->cancelFollowTopicById(topic->topicId);
    topic->isFocused = !ok;
    prompt = ok ? kUnfollowed : kUnfollowFailed;
  } else {
    const bool ok = answerService->followTopicById(topic->topicId);
    topic->isFocused = ok;
    prompt = ok ? kFollowed : kFollowFailed;
  }
  // The switch already shows the tap; a refused call puts it back.
  for (const auto& visible : tableView()->visibleCells())
    if (auto cell = std::dynamic_pointer_cast<AnsTopicFocusCell>(visible); cell && cell->selectTopic == topic)
      cell->setFocused(topic->isFocused);
  resultHUD->setLabelText(prompt);
  resultHUD->show(true);
  resultHUD->hide(true, 1.0);
}

void AnsTopicViewController::hideAnsTabBar(bool hidden) {
  auto tabs = tabBarController();
  auto container = tabs ? tabs->view()->superview() : nullptr;
  if (!container) return;
  for (const auto& subview : container->subviews())
    if (auto bar = std::dynamic_pointer_cast<AnsTabBar>(subview)) bar->setHidden(hidden);
}

long AnsTopicViewController::numberOfRowsInSection(pf::TableView&, long) {
  return static_cast<long>(topicInfoList.size());
}

std::optional<double> AnsTopicViewController::heightForRowAtIndexPath(pf::TableView&, const pf::IndexPath&) {
  return rowHeight();
}

std::shared_ptr<pf::TableViewCell> AnsTopicViewController::cellForRowAtIndexPath(pf::TableView& tableView,
                                                                                 const pf::IndexPath& indexPath) {
  const bool inside = indexPath.row >= 0 && static_cast<size_t>(indexPath.row) < topicInfoList.size();
  const auto topic = inside ? topicInfoList[indexPath.row] : nullptr;
  if (viewType_ == kMyTopics) {
    auto cell = std::dynamic_pointer_cast<AnsTopicFocusCell>(
        ViewUtil::tableViewCellWithClass(AnsTopicFocusCell::kClassName, tableView));
    cell->setFocused(topic && topic->isFocused);
    cell->selectTopic = topic;
    if (auto label = cell->topicTittleLabel.lock()) label->setText(topic ? topic->content.value_or("") : "");
    cell->delegate = std::static_pointer_cast<AnsTopicViewController>(shared_from_this());
    return cell;
  }
  auto cell = std::dynamic_pointer_cast<AnsTopicViewCell>(
      ViewUtil::tableViewCellWithClass(AnsTopicViewCell::kClassName, tableView));
  if (auto label = cell->topicTitleLabel.lock()) label->setText(topic ? topic->content.value_or("") : "");
  if (auto label = cell->topicCountLabel.lock()) label->setText(pf::format("%d个问题", topic ? topic->questionCount : 0));
  return cell;
}

void AnsTopicViewController::didSelectRowAtIndexPath(pf::TableView& tableView, const pf::IndexPath& indexPath) {
  tableView.deselectRowAtIndexPath(indexPath, true);
  if (indexPath.row < 0 || static_cast<size_t>(indexPath.row) >= topicInfoList.size()) return;
  auto navigation = navigationController();
  if (!navigation || !isOnTop()) return;
  auto detail = std::dynamic_pointer_cast<AnsTopicDetailViewController>(
      ViewUtil::viewControllerFromNibOfClass(AnsTopicDetailViewController::kClassName));
  if (!detail) return;
  detail->topic = topicInfoList[indexPath.row];
  detail->setHidesBottomBarWhenPushed(true);
  navigation->pushViewController(detail, true);
}
