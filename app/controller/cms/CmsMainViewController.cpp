#include "app/controller/cms/CmsMainViewController.h"

#include "app/controller/cmn/ModuleScreens.h"
#include "app/controller/cms/CmsAllViewController.h"
#include "app/controller/cms/CmsMyViewController.h"
#include "app/controller/cms/CmsSearchViewController.h"
#include "app/util/ViewUtil.h"
#include "platform/graphics/Image.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TabBarItem.h"
#include "ui/deck/PanelDeckController.h"
#include "ui/deck/PanelDeckItem.h"

namespace {

template <typename Screen>
std::shared_ptr<Screen> cmsMainLoadScreen() {
  return std::dynamic_pointer_cast<Screen>(ViewUtil::viewControllerFromNibOfClass(Screen::kClassName));
}

}  // namespace

CmsMainViewController::CmsMainViewController() = default;
CmsMainViewController::CmsMainViewController(std::string nibName) : BaseViewController(std::move(nibName)) {}
CmsMainViewController::~CmsMainViewController() = default;

void CmsMainViewController::viewDidLoad() {
  BaseViewController::viewDidLoad();
  auto self = sharedAs<CmsMainViewController>();
  if (auto deck = panelDeckController(*this)) deck->setDelegate(std::weak_ptr<PanelDeckControllerDelegate>(self));
  if (!tabBarCon) tabBarCon = std::make_shared<pf::TabBarController>();
  tabBarCon->setDelegate(std::weak_ptr<pf::TabBarControllerDelegate>(self));
  // A child, so the tabs hear their appearance calls.
  addChildViewController(tabBarCon);
  tabBarCon->view()->setFrame(view()->bounds());
  tabBarCon->view()->setAutoresizingMask(pf::View::kFlexibleWidth | pf::View::kFlexibleHeight);
  view()->addSubview(tabBarCon->view());
  tabBarCon->didMoveToParentViewController(this);

  allCourseViewController = cmsMainLoadScreen<CmsAllViewController>();
  allCourseViewController->allCourseDelegate = std::weak_ptr<AllCourseViewDelegate>(self);
  myCourseViewController = cmsMainLoadScreen<CmsMyViewController>();
  myCourseViewController->myDelegate = std::weak_ptr<MyCourseViewDelegate>(self);
  searchCourseViewController = cmsMainLoadScreen<CmsSearchViewController>();
  searchCourseViewController->searchDelegate = std::weak_ptr<CmsSearchViewDelegate>(self);
  downloadViewController = makeDownloadScreen();

  struct Tab {
    std::shared_ptr<pf::ViewController> screen;
    const char* title;
    const char* image;
  };
  const Tab tabs[] = {{allCourseViewController, "全部课程", "CMS_MAIN_allCourse_n.png"},
                      {myCourseViewController, "我的课程", "CMS_MAIN_myCourse_n.png"},
                      {searchCourseViewController, "课程搜索", "CMS_MAIN_search_n.png"},
                      {downloadViewController, "下载管理", "CMS_MAIN_download_n.png"}};
  std::vector<std::shared_ptr<pf::ViewController>> stacks;
  for (const auto& tab : tabs) {
    if (auto screen = std::dynamic_pointer_cast<BaseViewController>(tab.screen))
      screen->baseDelegate = std::weak_ptr<BaseViewDelegate>(self);
    tab.screen->tabBarItem()->setTitle(std::string(tab.title));
    tab.screen->tabBarItem()->setImage(pf::Image::named(tab.image, pf::Screen::mainScreen().scale()));
    auto stack = std::make_shared<pf::NavigationController>(tab.screen);
    // The bar shows the items of the tabs themselves, the navigation stacks.
    stack->tabBarItem()->setTitle(std::string(tab.title));
    stack->tabBarItem()->setImage(tab.screen->tabBarItem()->image());
    stacks.push_back(stack);
  }
  tabBarCon->setViewControllers(std::move(stacks));
  tabBarCon->setSelectedIndex(kFirstItem);
  currentItem = static_cast<unsigned>(tabBarCon->selectedIndex());
  // Building the catalogue's frame starts its first page while my courses show.
  allCourseViewController->view();
}

void CmsMainViewController::viewDidAppear(bool animated) {
  BaseViewController::viewDidAppear(animated);
  if (auto deck = panelDeckController(*this))
    deck->setDelegate(std::weak_ptr<PanelDeckControllerDelegate>(sharedAs<CmsMainViewController>()));
}

std::shared_ptr<pf::ViewController> CmsMainViewController::makeDownloadScreen() {
  if (auto screen = ModuleScreens::screenOfClass(kDownloadScreenClass)) return screen;
  auto placeholder = std::make_shared<BaseViewController>();
  placeholder->view();
  placeholder->setShowBackBtn(false);
  placeholder->setNavgationItemTitle("下载管理");
  return placeholder;
}

void CmsMainViewController::didSelectViewController(pf::TabBarController& tabs, pf::ViewController&) {
  currentItem = static_cast<unsigned>(tabs.selectedIndex());
}

bool CmsMainViewController::showAppNavigatorView() {
  auto deck = panelDeckController(*this);
  if (!deck) return false;
  deck->toggleLeftView();
  return true;
}

void CmsMainViewController::enablePanelDeckController() {
  if (auto deck = panelDeckController(*this)) deck->setEnabled(true);
}

void CmsMainViewController::disablePanelDeckController() {
  if (auto deck = panelDeckController(*this)) deck->setEnabled(false);
}

std::shared_ptr<pf::ViewController> CmsMainViewController::firstScreenOfItem(unsigned item) const {
  switch (item) {
    case 0: return allCourseViewController;
    case 1: return myCourseViewController;
    case 2: return searchCourseViewController;
    case 3: return downloadViewController;
    default: return nullptr;
  }
}

void CmsMainViewController::setTabsInteractive(bool interactive) {
  if (tabBarCon) tabBarCon->tabBar()->setUserInteractionEnabled(interactive);
  if (auto screen = firstScreenOfItem(currentItem)) screen->view()->setUserInteractionEnabled(interactive);
}

void CmsMainViewController::didOpenViewSide(PanelDeckController&, DeckSide, bool) {
  setTabsInteractive(false);
}

void CmsMainViewController::didCloseViewSide(PanelDeckController&, DeckSide, bool) {
  setTabsInteractive(true);
}
