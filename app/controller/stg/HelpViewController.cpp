#include "app/controller/stg/HelpViewController.h"

#include "app/util/ViewUtil.h"
#include "platform/foundation/Format.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ScrollView.h"

HelpViewController::HelpViewController() = default;
HelpViewController::HelpViewController(std::string nibName) : pf::ViewController(std::move(nibName)) {}
HelpViewController::~HelpViewController() = default;

void HelpViewController::viewWillAppear(bool animated) {
  pf::ViewController::viewWillAppear(animated);
  if (auto navigation = navigationController()) navigation->setNavigationBarHidden(true);
}

void HelpViewController::viewDidLoad() {
  pf::ViewController::viewDidLoad();
  auto pages = scrollView.lock();
  if (!pages) return;
  const pf::Rect screen = pf::Screen::mainScreen().bounds();
  const double width = screen.width();
  const double height = screen.height();
  const double pageHeight = height - pf::Application::sharedApplication().statusBarFrame().height();
  pages->setContentSize({width * kPageCount, pageHeight});
  for (int i = 0; i < kPageCount; ++i) {
    auto page = std::make_shared<pf::ImageView>(pf::Rect(width * i, 0, width, pageHeight));
    page->setBackgroundColor(pf::Color::clear());
    page->setImage(pf::Image::named(pf::format("STG_HELP_%d.png", i + 1), pf::Screen::mainScreen().scale()));
    pages->addSubview(page);
  }
  enterButton_ = pf::Button::buttonWithType(pf::Button::Type::Custom);
  enterButton_->setBackgroundColor(pf::Color::clear());
  enterButton_->setFrame(pf::Rect(width * (kPageCount - 1) + width / 320 * 150, height / 480 * 140, width / 320 * 120,
                                  height / 480 * 60));
  enterButton_->addTarget(weak_from_this(), "enterAppView", [this](pf::Control&, unsigned) { enterAppView(); },
                          pf::Control::kTouchUpInside);
  pages->addSubview(enterButton_);
}

// Opened from settings the pop returns there; at launch the help is the root, so the login screen is
// pushed and the help taken off the stack below it.
void HelpViewController::enterAppView() {
  if (auto navigation = navigationController()) navigation->popViewControllerAnimated(false);
  auto root = std::dynamic_pointer_cast<pf::NavigationController>(ViewUtil::getWindowRootViewController());
  if (!root || !std::dynamic_pointer_cast<HelpViewController>(root->topViewController())) return;
  auto login = std::dynamic_pointer_cast<pf::ViewController>(ViewUtil::viewControllerFromNibOfClass(kLoginScreenClass));
  if (!login) return;
  root->pushViewController(login, true);
  auto stack = root->viewControllers();
  if (stack.size() > 1) {
    stack.erase(stack.begin());
    root->setViewControllers(stack, false);
  }
}
