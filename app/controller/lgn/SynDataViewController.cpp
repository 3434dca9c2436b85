#include "app/controller/lgn/SynDataViewController.h"

#include "app/controller/cmn/ModuleScreens.h"
#include "app/service/cmn/UserMobileAppService.h"
#include "app/service/cms/CourseService.h"
#include "app/util/ViewUtil.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "ui/deck/PanelDeckController.h"

namespace {

// The centre of a user without a module shown here: a plain screen with the menu button.
std::shared_ptr<pf::ViewController> emptyCentre() {
  auto screen = std::make_shared<BaseViewController>();
  screen->view();
  screen->setShowBackBtn(false);
  return std::make_shared<pf::NavigationController>(screen);
}

}  // namespace

SynDataViewController::SynDataViewController() = default;
SynDataViewController::SynDataViewController(std::string nibName) : BaseViewController(std::move(nibName)) {}
SynDataViewController::~SynDataViewController() = default;

void SynDataViewController::initService() {
  courseService_ = std::make_shared<CourseService>(std::dynamic_pointer_cast<ServiceDelegate>(shared_from_this()));
  mobileAppService_ = std::make_shared<UserMobileAppService>();
}

void SynDataViewController::viewWillAppear(bool animated) {
  BaseViewController::viewWillAppear(animated);
  if (auto spinner = activityView.lock()) spinner->startAnimating();
}

void SynDataViewController::viewDidAppear(bool animated) {
  BaseViewController::viewDidAppear(animated);
  synData();
}

void SynDataViewController::viewDidDisappear(bool animated) {
  BaseViewController::viewDidDisappear(animated);
  if (auto spinner = activityView.lock()) spinner->stopAnimating();
}

std::shared_ptr<PanelDeckController> SynDataViewController::synData() {
  auto navigation = navigationController();
  if (!navigation) return nullptr;
  auto menu = std::dynamic_pointer_cast<pf::ViewController>(ViewUtil::viewControllerFromNibOfClass(kMenuScreenClass));
  auto centre = ModuleScreens::firstScreen(*mobileAppService_);
  const bool known = centre != nullptr;
  if (!known) centre = emptyCentre();
  auto deck = PanelDeckController::create(centre, menu);
  deck->setLeftSize(pf::Screen::mainScreen().bounds().width() / 320 * kLeftLedge);
  navigation->pushViewController(deck, true);
  if (!known) deck->openLeftView(false);
  return deck;
}
