#include "app/controller/blg/BlgMainViewController.h"

#include "app/controller/blg/BlgAllViewController.h"
#include "app/controller/blg/BlgSquareViewController.h"
#include "app/controller/blg/BlgTopicViewController.h"
#include "app/controller/blg/BlgUserInfoViewController.h"
#include "app/util/ViewUtil.h"
#include "platform/graphics/Image.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TabBarItem.h"
#include "ui/deck/PanelDeckController.h"
#include "ui/deck/PanelDeckItem.h"

namespace {

// A tab whose screen is not part of this client is left out.
template <typename Screen>
std::shared_ptr<Screen> blgMainTabScreen() {
  if (!ViewUtil::isScreenClassRegistered(Screen::kClassName)) return nullptr;
  return std::dynamic_pointer_cast<Screen>(ViewUtil::viewControllerFromNibOfClass(Screen::kClassName));
}

}  // namespace

BlgMainViewController::BlgMainViewController() = default;
BlgMainViewController::BlgMainViewController(std::string nibName) : BlgBaseViewController(std::move(nibName)) {}
BlgMainViewController::~BlgMainViewController() = default;

void BlgMainViewController::viewDidLoad() {
  BlgBaseViewController::viewDidLoad();
  if (auto navigation = navigationController()) navigation->setNavigationBarHidden(true);
  becomeDeckDelegate();
  tabBarController = std::make_shared<pf::TabBarController>();
  tabBarController->setDelegate(std::dynamic_pointer_cast<pf::TabBarControllerDelegate>(shared_from_this()));
  addChildViewController(tabBarController);
  tabBarController->view()->setFrame(view()->bounds());
  tabBarController->view()->setAutoresizingMask(pf::View::kFlexibleWidth | pf::View::kFlexibleHeight);
  view()->addSubview(tabBarController->view());
  tabBarController->didMoveToParentViewController(this);

  auto self = std::dynamic_pointer_cast<BlgMainViewController>(shared_from_this());
  if ((blgAllViewController = blgMainTabScreen<BlgAllViewController>())) blgAllViewController->blgAllDelegate = self;
  if ((blgSquareViewController = blgMainTabScreen<BlgSquareViewController>()))
    blgSquareViewController->blgSquareDelegate = self;
  if ((blgTopicViewController = blgMainTabScreen<BlgTopicViewController>()))
    blgTopicViewController->blgTopicDelegate = self;
  if ((blgUserInfoViewController = blgMainTabScreen<BlgUserInfoViewController>())) {
    blgUserInfoViewController->blgUserInfoDelegate = self;
    blgUserInfoViewController->needBack = false;
  }

  struct Tab {
    std::shared_ptr<BlgBaseViewController> screen;
    const char* title;
    const char* image;
  };
  const Tab tabs[] = {{blgAllViewController, "微博首页", "BLG_BASE_home.png"},
                      {blgSquareViewController, "广场", "BLG_BASE_square.png"},
                      {blgTopicViewController, "话题", "BLG_BASE_topic.png"},
                      {blgUserInfoViewController, "我的资料", "BLG_BASE_myProfile.png"}};
  std::vector<std::shared_ptr<pf::ViewController>> stacks;
  for (const auto& tab : tabs) {
    if (!tab.screen) continue;
    tab.screen->baseDelegate = std::dynamic_pointer_cast<BaseViewDelegate>(shared_from_this());
    tab.screen->tabBarItem()->setTitle(std::string(tab.title));
    tab.screen->tabBarItem()->setImage(pf::Image::named(tab.image, pf::Screen::mainScreen().scale()));
    auto stack = std::make_shared<pf::NavigationController>(tab.screen);
    stack->tabBarItem()->setTitle(std::string(tab.title));
    stack->tabBarItem()->setImage(pf::Image::named(tab.image, pf::Screen::mainScreen().scale()));
    tab.screen->setParentController(std::static_pointer_cast<pf::ViewController>(shared_from_this()));
    stacks.push_back(stack);
  }
  tabBarController->setViewControllers(stacks);
  currentItem = static_cast<std::uint32_t>(tabBarController->selectedIndex());
}

// The tabs bring their own bars: the one of the stack the module lives in stays hidden, also when the
// module was loaded before it was placed there.
void BlgMainViewController::viewWillAppear(bool animated) {
  BlgBaseViewController::viewWillAppear(animated);
  auto navigation = navigationController();
  if (!navigation || navigation->isNavigationBarHidden()) return;
  navigation->setNavigationBarHidden(true);
  if (auto holder = view()->superview()) view()->setFrame(holder->bounds());
}

void BlgMainViewController::viewDidAppear(bool animated) {
  BlgBaseViewController::viewDidAppear(animated);
  becomeDeckDelegate();
}

void BlgMainViewController::becomeDeckDelegate() {
  if (auto deck = panelDeckController(*this))
    deck->setDelegate(std::dynamic_pointer_cast<PanelDeckControllerDelegate>(shared_from_this()));
}

bool BlgMainViewController::showAppNavigatorView() {
  auto deck = panelDeckController(*this);
  if (!deck) return false;
  deck->toggleLeftView();
  return true;
}

void BlgMainViewController::didSelectViewController(pf::TabBarController& tabs, pf::ViewController&) {
  currentItem = static_cast<std::uint32_t>(tabs.selectedIndex());
}

std::shared_ptr<pf::ViewController> BlgMainViewController::firstScreenOfTab(std::uint32_t index) const {
  switch (index) {
    case 0: return blgAllViewController;
    case 1: return blgSquareViewController;
    case 2: return blgTopicViewController;
    case 3: return blgUserInfoViewController;
    default: return nullptr;
  }
}

void BlgMainViewController::setTabsInteraction(bool enabled) {
  if (tabBarController) {
    if (auto bar = tabBarController->tabBar()) bar->setUserInteractionEnabled(enabled);
  }
  if (auto screen = firstScreenOfTab(currentItem)) screen->view()->setUserInteractionEnabled(enabled);
}

void BlgMainViewController::didOpenViewSide(PanelDeckController&, DeckSide, bool) { setTabsInteraction(false); }

void BlgMainViewController::didCloseViewSide(PanelDeckController&, DeckSide, bool) { setTabsInteraction(true); }

void BlgMainViewController::enablePanelDeckViewController() {
  if (auto deck = panelDeckController(*this)) deck->setEnabled(true);
}

void BlgMainViewController::disablePanelDeckViewController() {
  if (auto deck = panelDeckController(*this)) deck->setEnabled(false);
}
