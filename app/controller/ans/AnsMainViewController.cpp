#include "app/controller/ans/AnsMainViewController.h"

#include <string>
#include <vector>

#include "app/controller/ans/AnsQuesViewController.h"
#include "app/controller/ans/AnsTopicViewController.h"
#include "app/util/ViewUtil.h"
#include "platform/graphics/Image.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TabBar.h"
#include "platform/ui/TabBarItem.h"

namespace {

std::shared_ptr<const pf::Image> ansMainPicture(const std::string& name) {
  return pf::Image::named(name, pf::Screen::mainScreen().scale());
}

struct AnsTabLook {
  const char* normal;
  const char* pressed;
  int top, left, bottom, right;
};

// The bar shows the navigation controller's item: it shares the screen's.
std::shared_ptr<pf::NavigationController> ansTab(const std::shared_ptr<pf::ViewController>& screen,
                                                 const AnsTabLook& look) {
  auto item = screen->tabBarItem();
  ViewUtil::configTabBarItemSelectionImage(ansMainPicture(look.normal), look.top, look.left, look.bottom,
                                           look.right, *item);
  item->setFinishedSelectedImage(ansMainPicture(look.pressed), ansMainPicture(look.normal));
  auto navigation = std::make_shared<pf::NavigationController>(screen);
  navigation->setTabBarItem(item);
  return navigation;
}

// A screen of another part of the module, made by name; none when it is not built in.
std::shared_ptr<pf::ViewController> ansScreenNamed(const char* className) {
  if (!ViewUtil::isScreenClassRegistered(className)) return nullptr;
  return std::dynamic_pointer_cast<pf::ViewController>(ViewUtil::viewControllerFromNibOfClass(className));
}

}  // namespace

AnsMainViewController::AnsMainViewController() = default;
AnsMainViewController::~AnsMainViewController() = default;

void AnsMainViewController::viewDidLoad() {
  pf::TabBarController::viewDidLoad();
  std::vector<std::shared_ptr<pf::ViewController>> tabs;

  auto questions = std::dynamic_pointer_cast<AnsQuesViewController>(
      ViewUtil::viewControllerFromNibOfClass(AnsQuesViewController::kClassName));
  questions->setTitle("问题");
  questions->setViewType(AnsQuesViewController::kSearchAll);
  tabs.push_back(ansTab(questions, {"ANS_QUES_Icon_n.png", "ANS_QUES_Icon_p.png", 10, -14, 1, 23}));

  if (auto topics = ansScreenNamed(kTopicScreen)) {
    if (auto all = std::dynamic_pointer_cast<AnsTopicViewController>(topics))
      all->setViewType(AnsTopicViewController::kAllTopics);
    topics->setTitle("话题");
    tabs.push_back(ansTab(topics, {"ANS_TOPI_Icon_n.png", "ANS_TOPI_Icon_p.png", 10, -14, 1, 23}));
  }
  if (auto personal = ansScreenNamed(kPersonalScreen)) {
    personal->setTitle("个人主页");
    tabs.push_back(ansTab(personal, {"ANS_PESN_Icon_n.png", "ANS_PESN_Icon_p.png", 11, -27, 1, 37}));
    personal->tabBarItem()->setTitlePositionAdjustment({7.0, -13.0});
  }
  setViewControllers(std::move(tabs));
  if (auto bar = std::dynamic_pointer_cast<pf::TabBar>(tabBar())) {
    bar->setBackgroundImage(ansMainPicture("ANS_BASE_tab_bg_n.png"));
    bar->setSelectionIndicatorImage(ansMainPicture("ANS_BASE_tab_Item_n_selected.png"));
  }
  questions->tabBarItem()->setFinishedSelectedImage(ansMainPicture("ANS_QUES_Icon_p.png"),
                                                    ansMainPicture("ANS_QUES_Icon_n.png"));
  view()->setBackgroundColor(pf::Color::white());
}
