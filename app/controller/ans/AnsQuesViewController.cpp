#include "app/controller/ans/AnsQuesViewController.h"

#include "app/controller/ans/AnsQuesDetailViewController.h"
#include "app/controller/ans/AnsQuesListCell.h"
#include "app/controller/ans/AnsQuesQuizViewController.h"
#include "app/controller/cmn/CmnNaviBtnItem.h"
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
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TextField.h"
#include "ui/deck/PanelDeckController.h"
#include "ui/deck/PanelDeckItem.h"
#include "ui/webimage/ImageViewWebCache.h"

namespace {

std::string ansTrimSpaces(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::shared_ptr<const pf::Image> ansListPicture(const std::string& name) {
  return pf::Image::named(name, pf::Screen::mainScreen().scale());
}

}  // namespace

AnsQuesViewController::AnsQuesViewController() = default;
AnsQuesViewController::AnsQuesViewController(std::string nibName)
    : AnsBaseTableViewController(std::move(nibName)) {}
AnsQuesViewController::~AnsQuesViewController() = default;

void AnsQuesViewController::setViewType(int viewType) {
  viewType_ = viewType;
  std::weak_ptr<AnsQuesViewController> weak =
      std::static_pointer_cast<AnsQuesViewController>(shared_from_this());
  if (viewType == kSearchAll) {
    navigationItem()->setTitleView(searchBar);
    // The deck is looked up at the tap: the list is not in its navigation controller yet.
    auto menu = std::make_shared<CmnNaviBtnItem>("CMN_BASE_menu_n.png", "CMN_BASE_menu_p.png", std::nullopt,
                                                 std::nullopt, weak, [weak] {
                                                   if (auto self = weak.lock()) self->toggleMenu();
                                                 });
    menu->setItemSize(pf::Size(38, 30));
    navigationItem()->setLeftBarButtonItem(menu);
    auto ask = std::make_shared<CmnNaviBtnItem>("ANS_QUES_edit_n.png", "ANS_QUES_edit_p.png", std::nullopt,
                                                std::nullopt, weak, [weak] {
                                                  if (auto self = weak.lock()) self->quiz();
                                                });
    ask->setItemSize(pf::Size(32, 32));
    navigationItem()->setRightBarButtonItem(ask);
    return;
  }
  const char* title = viewType == kMyAnswered   ? "我的回答"
                      : viewType == kMyFavorite ? "我的收藏"
                                                : "我的问题";
  setNavgationItemTitle(title);
  auto back = std::make_shared<CmnNaviBtnItem>("CMN_BASE_btn_n.png", "CMN_BASE_btn_p.png", std::nullopt,
                                               "返回", weak, [weak] {
                                                 if (auto self = weak.lock()) self->goback();
                                               });
  navigationItem()->setLeftBarButtonItem(back);
}

void AnsQuesViewController::toggleMenu() {
  if (auto deck = panelDeckController(*this)) deck->toggleLeftView();
}

void AnsQuesViewController::viewDidLoad() {
  AnsBaseTableViewController::viewDidLoad();
  ansServer = std::make_shared<AnsService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
  if (viewType_ == kSearchAll) configSearchBar();
  resetNodataViewImageName(kNoQuestionImage, kNoQuestionText);
  refreshData();
  ansServer->updateQuestionReminder();
}

void AnsQuesViewController::viewWillAppear(bool animated) {
  AnsBaseTableViewController::viewWillAppear(animated);
  tableView()->reloadData();
  auto navigation = navigationController();
  if (auto tabs = navigation ? navigation->tabBarController() : nullptr) tabs->tabBar()->setHidden(false);
}

void AnsQuesViewController::configSearchBar() {
  const double width = pf::Screen::mainScreen().bounds().width() / 320 * 200;
  searchBar = std::make_shared<pf::SearchBar>(pf::Rect(0, 0, width, 44));
  navigationItem()->setTitleView(searchBar);
  searchBar->setBackgroundColor(pf::Color::clear());
  // The bar puts its parts in on first use; its first subview is its background.
  searchBar->textField();
  if (!searchBar->subviews().empty()) searchBar->subviews().front()->removeFromSuperview();
  searchBar->setDelegate(std::dynamic_pointer_cast<pf::SearchBarDelegate>(shared_from_this()));
  std::weak_ptr<AnsQuesViewController> weak =
      std::static_pointer_cast<AnsQuesViewController>(shared_from_this());
  for (const auto& subview : searchBar->subviews()) {
    auto field = std::dynamic_pointer_cast<pf::TextField>(subview);
    if (!field) continue;
    field->setReturnKeyType(pf::ReturnKeyType::Search);
    ViewUtil::keyBoardShouldShowHiddenButtonOfTextField(field, true, weak, [weak] {
      if (auto self = weak.lock()) self->hideKeyBoard();
    });
  }
}

void AnsQuesViewController::textDidChange(pf::SearchBar&, const std::string& searchText) {
  if (!currentPage) currentPage = std::make_shared<Page>();
  currentPage->pageNo = 1;
  searchBarText = ansTrimSpaces(searchText);
}

void AnsQuesViewController::searchBarSearchButtonClicked(pf::SearchBar&) {
  hideKeyBoard();
}

void AnsQuesViewController::hideKeyBoard() {
  refreshData();
  if (searchBar) searchBar->resignFirstResponder();
}

// A refresh reads the bar's text here, on the main queue; a load-more asks for more of that search.
AnsQuesViewController::Request AnsQuesViewController::requestData(int type, std::shared_ptr<Page> page) {
  if (viewType_ < kMyAsked || viewType_ > kSearchAll) return {};
  if (type == kLoadRefresh)
    searchedText_ = searchBar ? std::optional<std::string>(searchBar->text()) : std::nullopt;
  std::weak_ptr<AnsQuesViewController> weak =
      std::static_pointer_cast<AnsQuesViewController>(shared_from_this());
  return [weak, service = ansServer, viewType = viewType_, text = searchedText_, type, page]() -> ApplyStep {
    AnsService::PagePtr answer;
    switch (viewType) {
      case kMyAsked:
        answer = service->loadMyAskedQuestions(page);
        break;
      case kMyAnswered:
        answer = service->loadMyAnsweredQuestions(page);
        break;
      case kMyFavorite:
        answer = service->loadMyFavoriteQuestions(page);
        break;
      default:
        answer = service->loadQuestionByContent(text, page);
        break;
    }
    std::vector<std::shared_ptr<QaQuestion>> rows;
    if (answer && answer->rows)
      for (const pf::Value& row : *answer->rows)
        if (auto question = row.objectAs<QaQuestion>()) rows.push_back(question);
    return [weak, answer, rows = std::move(rows), type] {
      auto self = weak.lock();
      if (!self) return;
      self->currentPage = answer;
      if (type == kLoadRefresh)
        self->qesInfoList = rows;
      else
        self->qesInfoList.insert(self->qesInfoList.end(), rows.begin(), rows.end());
    };
  };
}

void AnsQuesViewController::quiz() {
  auto navigation = navigationController();
  if (!navigation || !isOnTop()) return;
  auto editor = std::dynamic_pointer_cast<AnsQuesQuizViewController>(
      ViewUtil::viewControllerFromNibOfClass(AnsQuesQuizViewController::kClassName));
  if (!editor) return;
  editor->setHidesBottomBarWhenPushed(true);
  editor->bVC = std::static_pointer_cast<AnsBaseTableViewController>(shared_from_this());
  navigation->pushViewController(editor, true);
}

void AnsQuesViewController::goback() {
  if (auto navigation = navigationController(); navigation && isOnTop())
    navigation->popViewControllerAnimated(true);
}

bool AnsQuesViewController::isOnTop() const {
  auto navigation = navigationController();
  return navigation && navigation->topViewController().get() == this;
}

long AnsQuesViewController::numberOfRowsInSection(pf::TableView&, long) {
  return static_cast<long>(qesInfoList.size());
}

std::optional<double> AnsQuesViewController::heightForRowAtIndexPath(pf::TableView&, const pf::IndexPath&) {
  return pf::Screen::mainScreen().bounds().height() / 480 * 86;
}

std::shared_ptr<pf::TableViewCell> AnsQuesViewController::cellForRowAtIndexPath(
    pf::TableView& tableView, const pf::IndexPath& indexPath) {
  auto cell = std::dynamic_pointer_cast<AnsQuesListCell>(
      ViewUtil::tableViewCellWithClass(AnsQuesListCell::kClassName, tableView));
  const bool inside = indexPath.row >= 0 && static_cast<size_t>(indexPath.row) < qesInfoList.size();
  const auto question = inside ? qesInfoList[indexPath.row] : nullptr;
  const auto asker = question ? question->user : nullptr;
  if (auto label = cell->questionContentLabel.lock())
    label->setText(question ? question->title.value_or("") : "");
  if (auto label = cell->quizerLabel.lock()) label->setText(asker ? asker->nickName.value_or("") : "");
  if (auto label = cell->quizTimeLabel.lock())
    label->setText(
        question ? CommonUtil::parseStringResultOfDate(question->createTime, "yyyy-MM-dd").value_or("") : "");
  if (auto label = cell->answerQtyLabel.lock())
    label->setText(pf::format("%lld个答案", question ? question->answerCount : 0LL));
  if (auto picture = cell->userImgView.lock()) {
    const auto placeholder = ansListPicture(kUserPlaceholder);
    const bool hasFace = asker && asker->userFaceUrl && !asker->userFaceUrl->empty();
    // A new load, or a cancel, so a late picture of the row before never lands here.
    if (hasFace)
      ImageViewWebCache::setImageWithURL(picture, pf::Url::parse(*asker->userFaceUrl), placeholder);
    else {
      ImageViewWebCache::cancelCurrentImageLoad(*picture);
      picture->setImage(placeholder);
    }
  }
  return cell;
}

void AnsQuesViewController::didSelectRowAtIndexPath(pf::TableView& tableView,
                                                    const pf::IndexPath& indexPath) {
  tableView.deselectRowAtIndexPath(indexPath, true);
  if (indexPath.row < 0 || static_cast<size_t>(indexPath.row) >= qesInfoList.size()) return;
  auto navigation = navigationController();
  if (!navigation || !isOnTop()) return;
  auto detail = std::dynamic_pointer_cast<AnsQuesDetailViewController>(
      ViewUtil::viewControllerFromNibOfClass(AnsQuesDetailViewController::kClassName));
  if (!detail) return;
  detail->question = qesInfoList[indexPath.row];
  detail->setNavgationItemTitle("问题");
  detail->setHidesBottomBarWhenPushed(true);
  detail->qesVC = std::static_pointer_cast<AnsQuesViewController>(shared_from_this());
  navigation->pushViewController(detail, true);
}
