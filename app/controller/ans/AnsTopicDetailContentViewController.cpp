#include "app/controller/ans/AnsTopicDetailContentViewController.h"

#include "app/controller/ans/AnsQuesDetailViewController.h"
#include "app/controller/ans/AnsQuesListCell.h"
#include "app/controller/ans/AnsTopicViewCell.h"
#include "app/controller/ans/AnsTopicViewController.h"
#include "app/model/ans/QaQuestion.h"
#include "app/model/cmn/Page.h"
#include "app/service/ans/AnsService.h"
#include "app/util/ViewUtil.h"
#include "core/util/CommonUtil.h"
#include "platform/foundation/Format.h"
#include "platform/graphics/Image.h"
#include "platform/net/Url.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "ui/webimage/ImageViewWebCache.h"

AnsTopicDetailContentViewController::AnsTopicDetailContentViewController() = default;
AnsTopicDetailContentViewController::AnsTopicDetailContentViewController(std::string nibName)
    : AnsBaseTableViewController(std::move(nibName)) {}
AnsTopicDetailContentViewController::~AnsTopicDetailContentViewController() = default;

void AnsTopicDetailContentViewController::viewDidLoad() {
  AnsBaseTableViewController::viewDidLoad();
  // With the list as delegate, so a failed load reaches the screen.
  ansService = std::make_shared<AnsService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
  if (!currentPage) currentPage = std::make_shared<Page>();
  if (Request request = requestData(kLoadRefresh, currentPage))
    if (ApplyStep apply = request()) apply();
  tableView()->reloadData();
}

AnsTopicDetailContentViewController::Request AnsTopicDetailContentViewController::requestData(
    int type, std::shared_ptr<Page> page) {
  std::weak_ptr<AnsTopicDetailContentViewController> weak =
      std::static_pointer_cast<AnsTopicDetailContentViewController>(shared_from_this());
  const AnsService::Text topicId = topic ? topic->topicId : std::nullopt;
  return [weak, service = ansService, topicId, type, page]() -> ApplyStep {
    if (!service || !page) return {};
    AnsService::PagePtr answer = service->loadTopicQuestionsByTopicId(topicId, page);
    std::vector<std::shared_ptr<QaQuestion>> rows;
    if (answer && answer->rows)
      for (const pf::Value& row : *answer->rows)
        if (auto question = row.objectAs<QaQuestion>()) rows.push_back(question);
    return [weak, answer, rows = std::move(rows), type] {
      auto self = weak.lock();
      if (!self) return;
      self->currentPage = answer;
      if (type == kLoadRefresh)
        self->quesList = rows;
      else
        self->quesList.insert(self->quesList.end(), rows.begin(), rows.end());
    };
  };
}

long AnsTopicDetailContentViewController::numberOfRowsInSection(pf::TableView&, long) {
  return static_cast<long>(quesList.size()) + 1;
}

std::optional<double> AnsTopicDetailContentViewController::heightForRowAtIndexPath(pf::TableView&,
                                                                                   const pf::IndexPath& indexPath) {
  if (indexPath.row == 0) return AnsTopicViewController::rowHeight();
  return pf::Screen::mainScreen().bounds().height() / 480 * 86;
}

std::shared_ptr<pf::TableViewCell> AnsTopicDetailContentViewController::cellForRowAtIndexPath(
    pf::TableView& tableView, const pf::IndexPath& indexPath) {
  if (indexPath.row == 0) {
    auto cell = std::dynamic_pointer_cast<AnsTopicViewCell>(
        ViewUtil::tableViewCellWithClass(AnsTopicViewCell::kClassName, tableView));
    if (auto label = cell->topicTitleLabel.lock()) label->setText(topic ? topic->content.value_or("") : "");
    const long long total = currentPage ? currentPage->total : 0;
    if (auto label = cell->topicCountLabel.lock()) label->setText(pf::format("%d个问题", static_cast<int>(total)));
    return cell;
  }
  auto cell = std::dynamic_pointer_cast<AnsQuesListCell>(
      ViewUtil::tableViewCellWithClass(AnsQuesListCell::kClassName, tableView));
  const size_t index = static_cast<size_t>(indexPath.row - 1);
  const auto question = index < quesList.size() ? quesList[index] : nullptr;
  const auto asker = question ? question->user : nullptr;
  if (auto label = cell->questionContentLabel.lock()) label->setText(question ? question->title.value_or("") : "");
  if (auto label = cell->quizerLabel.lock()) label->setText(asker ? asker->nickName.value_or("") : "");
  if (auto label = cell->quizTimeLabel.lock())
    label->setText(question ? CommonUtil::parseStringResultOfDate(question->createTime, "yyyy-MM-dd").value_or("") : "");
  if (auto label = cell->answerQtyLabel.lock())
    label->setText(pf::format("%lld", question ? question->answerCount : 0LL));
  if (auto picture = cell->userImgView.lock()) {
    auto placeholder = pf::Image::named(kUserPlaceholder, pf::Screen::mainScreen().scale());
    if (asker && asker->userFaceUrl && !asker->userFaceUrl->empty()) {
      ImageViewWebCache::setImageWithURL(picture, pf::Url::parse(*asker->userFaceUrl), placeholder);
    } else {
      ImageViewWebCache::cancelCurrentImageLoad(*picture);
      picture->setImage(placeholder);
    }
  }
  return cell;
}

void AnsTopicDetailContentViewController::didSelectRowAtIndexPath(pf::TableView& tableView,
                                                                  const pf::IndexPath& indexPath) {
  tableView.deselectRowAtIndexPath(indexPath, true);
  const size_t index = static_cast<size_t>(indexPath.row - 1);
  if (indexPath.row < 1 || index >= quesList.size()) return;
  auto parent = pVC.lock();
  auto navigation = parent ? parent->navigationController() : nullptr;
  if (!navigation || navigation->topViewController() != parent) return;
  auto detail = std::dynamic_pointer_cast<AnsQuesDetailViewController>(
      ViewUtil::viewControllerFromNibOfClass(AnsQuesDetailViewController::kClassName));
  if (!detail) return;
  detail->question = quesList[index];
  navigation->pushViewController(detail, true);
}
