#include "app/controller/cms/CmsDetailViewController.h"

#include "app/controller/cmn/CmnNaviBtnItem.h"
#include "app/controller/cms/CmsBriefViewController.h"
#include "app/controller/cms/CmsCommentViewController.h"
#include "app/controller/cms/CmsDownloadViewCotnroller.h"
#include "app/controller/cms/CmsStudyViewController.h"
#include "app/model/cms/CourseViewInfo.h"
#include "app/service/cms/DownloadService.h"
#include "app/util/ViewUtil.h"
#include "platform/graphics/Image.h"
#include "platform/text/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TabBarItem.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewController.h"

namespace {

constexpr char kCmsDetailButtonN[] = "CMN_BASE_btn_n.png";
constexpr char kCmsDetailButtonP[] = "CMN_BASE_btn_p.png";
constexpr char kCmsDetailWriteIcon[] = "CMS_WCOM_navi_write_n.png";
constexpr char kCmsDetailStudyTitle[] = "学习";
constexpr char kCmsDetailBriefTitle[] = "简介";
constexpr char kCmsDetailCommentTitle[] = "评论";
constexpr char kCmsDetailDownloadTitle[] = "下载";
constexpr char kCmsDetailDownloadList[] = "下载列表";

std::shared_ptr<const pf::Image> cmsDetailPicture(const std::string& name) {
  return pf::Image::named(name, pf::Screen::mainScreen().scale());
}

void cmsDetailDressTabItem(pf::ViewController& tab, const char* image, const char* title, pf::EdgeInsets insets) {
  auto item = std::make_shared<pf::TabBarItem>(std::string(title), cmsDetailPicture(image), 0);
  item->setImageInsets(insets);
  tab.setTabBarItem(item);
}

}  // namespace

CmsDetailViewController::CmsDetailViewController() = default;
CmsDetailViewController::~CmsDetailViewController() = default;

std::shared_ptr<pf::ViewController> CmsDetailViewController::makeDownloadTab() {
  return std::make_shared<CmsDownloadViewCotnroller>();
}

void CmsDetailViewController::viewDidLoad() {
  pf::TabBarController::viewDidLoad();
  auto self = std::static_pointer_cast<CmsDetailViewController>(shared_from_this());
  setDelegate(std::weak_ptr<pf::TabBarControllerDelegate>(self));
  study_ = std::make_shared<CmsStudyViewController>();
  study_->delegate = self;
  cmsDetailDressTabItem(*study_, "CMS_ALLC_study_n.png", kCmsDetailStudyTitle, {5, 7, 3, 7});
  brief_ = std::make_shared<CmsBriefViewController>();
  brief_->delegate = self;
  cmsDetailDressTabItem(*brief_, "CMS_ALLC_brief_n.png", kCmsDetailBriefTitle, {6, 7, 3, 7});
  comment_ = std::make_shared<CmsCommentViewController>();
  cmsDetailDressTabItem(*comment_, "CMS_ALLC_comment_n.png", kCmsDetailCommentTitle, {6, 8, 3, 8});
  download_ = makeDownloadTab();
  if (auto base = std::dynamic_pointer_cast<CmsDetailBaseViewController>(download_)) base->delegate = self;
  cmsDetailDressTabItem(*download_, "CMS_ALLC_download_n.png", kCmsDetailDownloadTitle, {6, 7, 3, 7});
  setViewControllers({study_, brief_, comment_, download_});
  selected_ = study_;
  setTitle(std::string(kCmsDetailStudyTitle));
  downloadServer = DownloadService::instance();
}

void CmsDetailViewController::viewWillAppear(bool animated) {
  pf::TabBarController::viewWillAppear(animated);
  if (auto tab = selected_.lock()) dressTab(tab);
}

void CmsDetailViewController::setTitle(std::optional<std::string> title) {
  pf::TabBarController::setTitle(title);
  auto label = std::make_shared<pf::Label>();
  label->setFrame({55, 0, 90, 44});
  label->setBackgroundColor(pf::Color::clear());
  label->setTextColor(pf::Color::white());
  label->setFont(pf::Font::boldSystemFont(21));
  label->setTextAlignment(pf::TextAlignment::center);
  label->setText(title);
  navigationItem()->setTitleView(label);
}

void CmsDetailViewController::goback() {
  if (auto navigation = navigationController()) navigation->popViewControllerAnimated(true);
}

void CmsDetailViewController::didSelectViewController(pf::TabBarController&, pf::ViewController& controller) {
  dressTab(std::static_pointer_cast<pf::ViewController>(controller.shared_from_this()));
}

std::shared_ptr<CmnNaviBtnItem> CmsDetailViewController::barItem(const std::optional<std::string>& icon,
                                                                 const std::string& text,
                                                                 const std::shared_ptr<pf::ViewController>& target) const {
  std::weak_ptr<pf::ViewController> weak = target;
  return std::make_shared<CmnNaviBtnItem>(std::string(kCmsDetailButtonN), std::string(kCmsDetailButtonP), icon, text,
                                          target, [weak] {
                                            auto tab = weak.lock();
                                            if (auto base = std::dynamic_pointer_cast<CmsDetailBaseViewController>(tab))
                                              base->rightBtnPressed();
                                            else if (auto down = std::dynamic_pointer_cast<CmsDownloadViewCotnroller>(tab))
                                              down->rightBtnPressed();
                                          });
}

std::shared_ptr<CmnNaviBtnItem> CmsDetailViewController::selectItemFor(
    const std::shared_ptr<pf::ViewController>& tab) const {
  const bool selected = courseViewInfo_ && courseViewInfo_->selected;
  if (selected && courseViewInfo_->obtainedWay != std::optional<std::string>(kOwnWay)) return nullptr;
  return barItem(std::string(selected ? kRemoveIcon : kSelectIcon), selected ? kRemoveText : kSelectText, tab);
}

void CmsDetailViewController::dressTab(const std::shared_ptr<pf::ViewController>& tab) {
  if (!tab) return;
  auto item = navigationItem();
  auto self = std::static_pointer_cast<CmsDetailViewController>(shared_from_this());
  item->setLeftBarButtonItem(ViewUtil::backBtnItemWithTarget(self));
  std::shared_ptr<CmnNaviBtnItem> right;
  if (tab == study_ || tab == brief_) {
    setTitle(std::string(tab == study_ ? kCmsDetailStudyTitle : kCmsDetailBriefTitle));
    right = selectItemFor(tab);
  } else if (tab == comment_) {
    setTitle(std::string(kCmsDetailCommentTitle));
    if (courseViewInfo_ && courseViewInfo_->openDsc)
      right = barItem(std::string(kCmsDetailWriteIcon), kCmsDetailCommentTitle, tab);
  } else if (tab == download_) {
    setTitle(std::string(kCmsDetailDownloadTitle));
    right = barItem(std::nullopt, kCmsDetailDownloadList, tab);
    right->setIconHidden(true);
    right->setBadgeHidden(false);
    right->setItemLength(80);
    right->setBadgeNumber(downloadServer ? static_cast<int>(downloadServer->downloadingScos().size()) : 0);
    if (auto down = std::dynamic_pointer_cast<CmsDownloadViewCotnroller>(tab)) {
      down->viewType = viewType;
      down->fromViewType = 0;
    }
  }
  item->setRightBarButtonItem(right);
  if (auto base = std::dynamic_pointer_cast<CmsDetailBaseViewController>(tab)) base->setCourseViewInfo(courseViewInfo_);
  if (auto list = std::dynamic_pointer_cast<pf::TableViewController>(tab); list && list->isViewLoaded())
    list->tableView()->reloadData();
  selected_ = tab;
}

void CmsDetailViewController::afterEditCourseSelectCondition(const std::shared_ptr<CourseViewInfo>& info) {
  auto tab = selected_.lock();
  if (tab != download_ && info) {
    if (auto right = std::dynamic_pointer_cast<CmnNaviBtnItem>(navigationItem()->rightBarButtonItem())) {
      right->setItemTitle(std::string(info->selected ? kRemoveText : kSelectText));
      right->setIconImg(cmsDetailPicture(info->selected ? kRemoveIcon : kSelectIcon));
    }
  }
  courseViewInfo_ = info;
  if (auto base = std::dynamic_pointer_cast<CmsDetailBaseViewController>(tab)) {
    base->setCourseViewInfo(info);
    base->isRequestingEditSelectingCourse = false;
  }
}

void CmsDetailViewController::refreshDownloadBadge() {
  auto right = std::dynamic_pointer_cast<CmnNaviBtnItem>(navigationItem()->rightBarButtonItem());
  if (right && downloadServer) right->setBadgeNumber(static_cast<int>(downloadServer->downloadingScos().size()));
}

void CmsDetailViewController::reloadDownloadTabIfShown() {
  if (selected_.lock() != download_) return;
  if (auto list = std::dynamic_pointer_cast<pf::TableViewController>(download_); list && list->isViewLoaded())
    list->tableView()->reloadData();
}

void CmsDetailViewController::downloadStartedRequest(const HttpRequest::Ptr&, const Unit&) {
  refreshDownloadBadge();
}

void CmsDetailViewController::downloadFinishedRequest(const HttpRequest::Ptr&, const Unit&) {
  refreshDownloadBadge();
  reloadDownloadTabIfShown();
}

void CmsDetailViewController::downloadHasBeenRemovedRequest(const HttpRequest::Ptr&, const Unit& scoId, int,
                                                            const pf::ErrorPtr&) {
  refreshDownloadBadge();
  if (courseViewInfo_)
    for (const auto& unit : courseViewInfo_->scoInfoList)
      if (unit && scoId && unit->scoId == scoId) unit->hasDownload = false;
  reloadDownloadTabIfShown();
}
