#include "app/controller/cms/CmsRecommandViewController.h"

#include "app/controller/cmn/NodataBgView.h"
#include "app/controller/cmn/ScreenErrors.h"
#include "app/controller/cms/CmsDetailViewController.h"
#include "app/model/cms/CourseViewInfo.h"
#include "app/model/cms/PopularizeResource.h"
#include "app/service/cms/CourseService.h"
#include "app/util/ViewUtil.h"
#include "core/util/CommonUtil.h"
#include "platform/graphics/Image.h"
#include "platform/net/Url.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/Screen.h"
#include "ui/hud/ProgressHUD.h"
#include "ui/webimage/ImageViewWebCache.h"

CmsRecommandViewController::CmsRecommandViewController() = default;
CmsRecommandViewController::CmsRecommandViewController(std::string nibName) : BaseViewController(std::move(nibName)) {}
CmsRecommandViewController::~CmsRecommandViewController() = default;

void CmsRecommandViewController::initService() {
  courseService = std::make_shared<CourseService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
}

void CmsRecommandViewController::viewDidLoad() {
  BaseViewController::viewDidLoad();
  setNavgationItemTitle(kTitle);
  setShowBackBtn(false);
  if (auto pages = pageControl.lock()) pages->setHidden(true);
  if (auto scroll = scrollView.lock())
    scroll->setDelegate(std::dynamic_pointer_cast<pf::ScrollViewDelegate>(shared_from_this()));
  nodataBgView = std::dynamic_pointer_cast<NodataBgView>(ViewUtil::viewFromNibOfClass(NodataBgView::kClassName));
  if (nodataBgView) {
    nodataBgView->setHidden(true);
    view()->addSubview(nodataBgView);
  }
}

// Scrolling comes back with the screen: pulling past the first page turned it off to open the menu.
void CmsRecommandViewController::viewDidAppear(bool animated) {
  BaseViewController::viewDidAppear(animated);
  if (auto scroll = scrollView.lock()) scroll->setScrollEnabled(true);
  if (resourceArr.empty()) refreshData();
}

void CmsRecommandViewController::refreshData() {
  if (!CommonUtil::isOnline()) {
    if (nodataBgView) nodataBgView->setHidden(false);
    return;
  }
  auto navigation = navigationController();
  auto host = navigation ? navigation->view() : view();
  auto hud = ProgressHUD::initWithView(host);
  hud->setLabelText(std::string(kLoading));
  host->addSubview(hud);
  std::weak_ptr<CmsRecommandViewController> weak =
      std::static_pointer_cast<CmsRecommandViewController>(shared_from_this());
  auto answer = std::make_shared<pf::ArrayPtr>();
  hud->showAnimated(
      true, [service = courseService, answer] { *answer = service->getRecommendResource(); },
      [weak, answer, hud] {
        hud->removeFromSuperview();
        auto self = weak.lock();
        if (!self) return;
        self->resourceArr.clear();
        if (*answer)
          for (const auto& row : **answer)
            if (auto resource = row.objectAs<PopularizeResource>()) self->resourceArr.push_back(resource);
        if (!self->resourceArr.empty()) self->showPages();
      });
}

void CmsRecommandViewController::showPages() {
  auto scroll = scrollView.lock();
  if (!scroll) return;
  if (auto pages = pageControl.lock()) {
    pages->setHidden(false);
    pages->setNumberOfPages(static_cast<long>(resourceArr.size()));
  }
  if (nodataBgView) nodataBgView->setHidden(true);
  for (const auto& old : scroll->subviews())
    if (std::dynamic_pointer_cast<CmsRecommandView>(old)) old->removeFromSuperview();
  const pf::Rect bounds = view()->bounds();
  scroll->setContentSize({bounds.width() * static_cast<double>(resourceArr.size()), bounds.height()});
  auto self = std::static_pointer_cast<CmsRecommandViewController>(shared_from_this());
  const auto placeholder = pf::Image::named("CMS_RECM_book.png", pf::Screen::mainScreen().scale());
  for (size_t index = 0; index < resourceArr.size(); ++index) {
    const auto& resource = *resourceArr[index];
    auto page = std::dynamic_pointer_cast<CmsRecommandView>(ViewUtil::viewFromNibOfClass(CmsRecommandView::kClassName));
    if (!page) continue;
    page->delegate = std::static_pointer_cast<RecommandViewDelegate>(self);
    if (auto button = page->btn.lock()) button->setTag(static_cast<int>(index));
    if (auto picture = page->imgView.lock(); picture && resource.coverImgBig)
      ImageViewWebCache::setImageWithURL(picture, pf::Url::parse(*resource.coverImgBig), placeholder);
    if (auto title = page->titleLabel.lock()) title->setText(resource.courseName.value_or(""));
    if (auto content = page->contentLabel.lock()) {
      const bool none = !resource.promotionText || resource.promotionText->empty();
      content->setText(none ? std::string("暂无") : *resource.promotionText);
    }
    page->setFrame({bounds.width() * static_cast<double>(index), 44, bounds.width(), scroll->bounds().height() - 49});
    scroll->addSubview(page);
  }
}

void CmsRecommandViewController::scrollViewDidScroll(pf::ScrollView& scroll) {
  const double width = scroll.bounds().width();
  const double offset = scroll.contentOffset().x;
  if (auto pages = pageControl.lock(); pages && width > 0) pages->setCurrentPage(static_cast<long>(offset / width));
  if (offset < 0) leftBtnPressed();
}

void CmsRecommandViewController::leftBtnPressed() {
  BaseViewController::leftBtnPressed();
  if (auto scroll = scrollView.lock()) scroll->setScrollEnabled(false);
}

void CmsRecommandViewController::pressedBtnWithTag(long tag) {
  if (tag < 0 || static_cast<size_t>(tag) >= resourceArr.size()) return;
  auto navigation = navigationController();
  if (!navigation) return;
  auto hud = ProgressHUD::initWithView(navigation->view());
  hud->setLabelText(std::string(kLoading));
  navigation->view()->addSubview(hud);
  std::weak_ptr<CmsRecommandViewController> weak =
      std::static_pointer_cast<CmsRecommandViewController>(shared_from_this());
  auto course = std::make_shared<std::shared_ptr<CourseViewInfo>>();
  hud->showAnimated(
      true,
      [service = courseService, courseId = resourceArr[static_cast<size_t>(tag)]->courseId, course] {
        *course = service->getCourseViewInfoWithCourseID(courseId);
      },
      [weak, course, hud] {
        hud->removeFromSuperview();
        auto self = weak.lock();
        if (!self || !*course) return;
        const auto& info = **course;
        if (!info.scoInfoList.empty()) {
          auto detail = std::make_shared<CmsDetailViewController>();
          detail->setCourseViewInfo(*course);
          detail->setHidesBottomBarWhenPushed(true);
          if (auto nav = self->navigationController()) nav->pushViewController(detail, true);
          return;
        }
        const auto& standard = info.courseStandard;
        const bool webOnly = standard == std::optional<std::string>("ONLINEPACKAGE") ||
                             standard == std::optional<std::string>("OLINEURL") ||
                             standard == std::optional<std::string>("ONLINEDOC");
        self->showErrorInfoWithMessage(webOnly ? "该课程不支持移动端学习" : "获取章节失败！");
      });
}

void CmsRecommandViewController::onError(const pf::ErrorPtr& error, const std::string& requestUri) {
  if (handleSessionError(error)) return;
  if (requestUri == kPromotionsPath && nodataBgView) nodataBgView->setHidden(false);
  ScreenErrors::showFirstCause(*this, error);
}
