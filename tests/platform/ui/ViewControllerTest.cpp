#include "platform/ui/ViewController.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "platform/host/HeadlessHost.h"
#include "platform/ui/Device.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBar.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TabBarItem.h"
#include "platform/ui/View.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Image.h"
#include "platform/ui/CurrentContext.h"
#include "platform/ui/Window.h"
#include "tests/platform/ui/ControllerJournal.h"
#include "tests/platform/ui/UiTest.h"

namespace {

using pf::NavigationController;
using pf::TabBarController;
using pf::ViewController;
using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::IsEmpty;
using Style = pf::ViewController::ModalTransitionStyle;

// What a case builds on: the key window, the journal, and the controllers it made.
struct Scene {
  std::shared_ptr<pf::Window> window;
  std::shared_ptr<Journal> journal = std::make_shared<Journal>();
  std::function<void()> settle;

  std::shared_ptr<Page> page(const std::string& name) { return std::make_shared<Page>(name, journal); }
  std::shared_ptr<NavigationController> stack(std::vector<std::shared_ptr<ViewController>> controllers) {
    auto navigation = std::make_shared<NavigationController>();
    navigation->setViewControllers(std::move(controllers));
    return navigation;
  }
  // Puts the controller at the window's root and forgets what that wrote.
  void show(const std::shared_ptr<ViewController>& root) {
    window->setRootViewController(root);
    settle();
    journal->clear();
  }
};

class ViewControllerTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    pf::View::setAnimationsEnabled(true);
    scene.window = window;
    scene.settle = [this] { settle(); };
  }
  void TearDown() override {
    window->setRootViewController(nullptr);
    pf::Device::currentDevice().setOrientation(pf::Device::Orientation::Portrait);
    pf::Application::sharedApplication().setStatusBarOrientation(
        pf::Application::InterfaceOrientation::Portrait);
    pf::Screen::configure(pf::Screen::Profile::Phone);
    UiTest::TearDown();
  }
  void settle() { runUntil(pf::Clock::now() + 1); }

  Scene scene;
};

struct OrderCase {
  const char* name;
  // Builds the scene and answers the action whose journal is checked.
  std::function<std::function<void()>(Scene&)> setUp;
  std::vector<std::string> atOnce;
  std::vector<std::string> afterAnimation;
};

class AppearanceOrder : public ViewControllerTest, public testing::WithParamInterface<OrderCase> {};

TEST_P(AppearanceOrder, FollowsThePlatformOrder) {
  auto act = GetParam().setUp(scene);
  act();
  const Journal atOnce = *scene.journal;
  settle();
  const Journal after(scene.journal->begin() + static_cast<std::ptrdiff_t>(atOnce.size()),
                      scene.journal->end());
  EXPECT_THAT(atOnce, ElementsAreArray(GetParam().atOnce)) << "at once";
  EXPECT_THAT(after, ElementsAreArray(GetParam().afterAnimation)) << "after the animation";
  EXPECT_TRUE(appearanceBalanced(*scene.journal));
}

INSTANTIATE_TEST_SUITE_P(
    Transitions, AppearanceOrder,
    testing::Values(
        OrderCase{"WindowRoot",
                  [](Scene& s) {
                    auto navigation = s.stack({s.page("A")});
                    s.journal->clear();
                    return std::function<void()>(
                        [&s, navigation] { s.window->setRootViewController(navigation); });
                  },
                  {"A load", "A willAppear", "A didAppear"},
                  {}},
        OrderCase{"Push",
                  [](Scene& s) {
                    auto navigation = s.stack({s.page("A")});
                    s.show(navigation);
                    auto b = s.page("B");
                    return std::function<void()>(
                        [navigation, b] { navigation->pushViewController(b, true); });
                  },
                  {"B willMoveTo parent", "B load", "A willDisappear animated", "B willAppear animated"},
                  {"A didDisappear animated", "B didAppear animated", "B didMoveTo parent"}},
        OrderCase{"Pop",
                  [](Scene& s) {
                    auto navigation = s.stack({s.page("A"), s.page("B")});
                    s.show(navigation);
                    return std::function<void()>(
                        [navigation] { navigation->popViewControllerAnimated(true); });
                  },
                  {"B willMoveTo none", "A load", "B willDisappear animated", "A willAppear animated"},
                  {"B didDisappear animated", "A didAppear animated", "B didMoveTo none"}},
        OrderCase{
            "PopToRoot",
            [](Scene& s) {
              auto navigation = s.stack({s.page("A"), s.page("B"), s.page("C")});
              s.show(navigation);
              return std::function<void()>(
                  [navigation] { navigation->popToRootViewControllerAnimated(true); });
            },
            {"B willMoveTo none", "C willMoveTo none", "A load", "C willDisappear animated",
             "A willAppear animated"},
            {"C didDisappear animated", "A didAppear animated", "B didMoveTo none", "C didMoveTo none"}},
        OrderCase{"Present",
                  [](Scene& s) {
                    auto a = s.page("A");
                    s.show(a);
                    auto m = s.page("M");
                    return std::function<void()>([a, m] { a->presentViewController(m, true); });
                  },
                  {"M load", "A willDisappear animated", "M willAppear animated"},
                  {"A didDisappear animated", "M didAppear animated"}},
        OrderCase{"Dismiss",
                  [](Scene& s) {
                    auto a = s.page("A");
                    s.show(a);
                    a->presentViewController(s.page("M"), false);
                    s.journal->clear();
                    return std::function<void()>([a] { a->dismissViewControllerAnimated(true); });
                  },
                  {"M willDisappear animated", "A willAppear animated"},
                  {"M didDisappear animated", "A didAppear animated"}},
        OrderCase{"PartialCurlLeavesThePresenterShowing",
                  [](Scene& s) {
                    auto a = s.page("A");
                    s.show(a);
                    auto m = s.page("M");
                    m->setModalTransitionStyle(Style::PartialCurl);
                    return std::function<void()>([a, m] { a->presentViewController(m, true); });
                  },
                  {"M load", "M willAppear animated"},
                  {"M didAppear animated"}},
        OrderCase{"TabSwitch",
                  [](Scene& s) {
                    auto tabs = std::make_shared<TabBarController>();
                    tabs->setViewControllers({s.page("A"), s.page("B")});
                    s.show(tabs);
                    return std::function<void()>([tabs] { tabs->setSelectedIndex(1); });
                  },
                  {"B load", "A willDisappear", "B willAppear", "A didDisappear", "B didAppear"},
                  {}},
        OrderCase{"ChildInTheParentsView",
                  [](Scene& s) {
                    auto parent = s.page("P");
                    auto child = s.page("C");
                    auto hidden = s.page("H");
                    parent->addChildViewController(child);
                    parent->addChildViewController(hidden);
                    parent->view()->addSubview(child->view());
                    child->didMoveToParentViewController(parent.get());
                    s.journal->clear();
                    return std::function<void()>([&s, parent] { s.window->setRootViewController(parent); });
                  },
                  {"P willAppear", "C willAppear", "P didAppear", "C didAppear"},
                  {}},
        OrderCase{"ChildRemoved",
                  [](Scene& s) {
                    auto parent = s.page("P");
                    auto child = s.page("C");
                    parent->addChildViewController(child);
                    s.show(parent);
                    return std::function<void()>([parent, child] {
                      child->willMoveToParentViewController(nullptr);
                      child->removeFromParentViewController();
                    });
                  },
                  {"C willMoveTo none", "C didMoveTo none"},
                  {}}),
    [](const auto& info) { return std::string(info.param.name); });

// Faults caught: layout hooks that never run, run before the view's own layout, or run for the
// layout of a subview.
TEST_F(ViewControllerTest, LayoutHooksFrameTheLayoutOfTheControllersOwnView) {
  struct Logged : pf::View {
    std::vector<std::string>* log = nullptr;
    void layoutSubviews() override {
      pf::View::layoutSubviews();
      log->push_back("layout");
    }
  };
  struct Hooked : ViewController {
    std::vector<std::string> log;
    void loadView() override {
      auto root = std::make_shared<Logged>();
      root->log = &log;
      setView(root);
    }
    void viewWillLayoutSubviews() override { log.push_back("will"); }
    void viewDidLayoutSubviews() override { log.push_back("did"); }
  };
  auto controller = std::make_shared<Hooked>();
  scene.show(controller);
  controller->log.clear();
  auto child = std::make_shared<pf::View>();
  controller->view()->addSubview(child);
  child->setNeedsLayout();
  child->layoutIfNeeded();
  EXPECT_THAT(controller->log, IsEmpty());
  controller->view()->setNeedsLayout();
  controller->view()->layoutIfNeeded();
  EXPECT_THAT(controller->log, ElementsAre("will", "layout", "did"));
}

TEST_F(ViewControllerTest, PopDuringPushEndsInAConsistentStack) {
  auto a = scene.page("A"), b = scene.page("B");
  auto navigation = scene.stack({a});
  scene.show(navigation);
  navigation->pushViewController(b, true);
  runUntil(pf::Clock::now() + 0.1);
  EXPECT_EQ(navigation->popViewControllerAnimated(true), b);
  settle();
  EXPECT_THAT(navigation->viewControllers(), ElementsAre(a));
  EXPECT_EQ(a->appearanceState(), ViewController::AppearanceState::Appeared);
  EXPECT_EQ(b->appearanceState(), ViewController::AppearanceState::Disappeared);
  EXPECT_EQ(b->view()->superview(), nullptr);
  EXPECT_EQ(b->parentViewController(), nullptr);
  EXPECT_TRUE(a->view()->isDescendantOfView(window.get()));
  EXPECT_EQ(a->view()->frame().origin.x, 0);
  EXPECT_TRUE(appearanceBalanced(*scene.journal));
}

TEST_F(ViewControllerTest, StackOperationsAnswerWhatTheyPopped) {
  auto a = scene.page("A"), b = scene.page("B"), c = scene.page("C"), d = scene.page("D");
  auto navigation = scene.stack({a, b, c});
  scene.show(navigation);
  EXPECT_THAT(navigation->popToViewController(d, true), IsEmpty());
  EXPECT_THAT(navigation->popToViewController(c, true), IsEmpty());
  navigation->pushViewController(b, false);  // already on the stack
  EXPECT_THAT(navigation->viewControllers(), ElementsAre(a, b, c));
  EXPECT_THAT(navigation->popToViewController(a, false), ElementsAre(b, c));
  EXPECT_EQ(navigation->popViewControllerAnimated(false), nullptr);
  navigation->setViewControllers({d, b}, false);
  EXPECT_EQ(navigation->topViewController(), b);
  EXPECT_EQ(b->navigationController(), navigation);
  EXPECT_EQ(a->navigationController(), nullptr);
  EXPECT_TRUE(appearanceBalanced(*scene.journal));
}

TEST_F(ViewControllerTest, RepeatedPushesAndPopsStayBalanced) {
  auto a = scene.page("A");
  auto navigation = scene.stack({a});
  scene.show(navigation);
  std::vector<std::shared_ptr<Page>> pages{scene.page("B"), scene.page("C"), scene.page("D")};
  for (auto& p : pages) navigation->pushViewController(p, true);
  navigation->popViewControllerAnimated(true);
  navigation->popToRootViewControllerAnimated(true);
  navigation->pushViewController(pages[2], true);
  settle();
  EXPECT_THAT(navigation->viewControllers(), ElementsAre(a, pages[2]));
  EXPECT_TRUE(appearanceBalanced(*scene.journal));
  EXPECT_EQ(pages[2]->appearanceState(), ViewController::AppearanceState::Appeared);
  for (auto& p : {pages[0], pages[1]})
    EXPECT_EQ(p->appearanceState(), ViewController::AppearanceState::Disappeared);
}

class Delegate : public pf::NavigationControllerDelegate {
 public:
  explicit Delegate(std::shared_ptr<Journal> journal) : journal_(std::move(journal)) {}
  void willShowViewController(NavigationController&, ViewController& c, bool) override {
    journal_->push_back("delegate willShow " + static_cast<Page&>(c).name());
  }
  void didShowViewController(NavigationController&, ViewController& c, bool) override {
    journal_->push_back("delegate didShow " + static_cast<Page&>(c).name());
  }

 private:
  std::shared_ptr<Journal> journal_;
};

TEST_F(ViewControllerTest, DelegateHearsOfTheNewTopAroundItsAppearance) {
  auto navigation = scene.stack({scene.page("A")});
  auto delegate = std::make_shared<Delegate>(scene.journal);
  navigation->setDelegate(delegate);
  scene.show(navigation);
  navigation->pushViewController(scene.page("B"), true);
  settle();
  EXPECT_THAT(*scene.journal,
              ElementsAre("B willMoveTo parent", "B load", "delegate willShow B", "A willDisappear animated",
                          "B willAppear animated", "A didDisappear animated", "B didAppear animated",
                          "B didMoveTo parent", "delegate didShow B"));
}

TEST_F(ViewControllerTest, StackChangesOffScreenMakeNoAppearanceCalls) {
  auto a = scene.page("A"), b = scene.page("B");
  auto navigation = scene.stack({a});
  navigation->pushViewController(b, true);
  navigation->popViewControllerAnimated(true);
  EXPECT_THAT(*scene.journal, ElementsAre("A willMoveTo parent", "A didMoveTo parent", "B willMoveTo parent",
                                          "B didMoveTo parent", "B willMoveTo none", "B didMoveTo none"));
}

TEST_F(ViewControllerTest, HiddenBarGivesItsPlaceToTheTop) {
  auto a = scene.page("A");
  auto navigation = scene.stack({a});
  scene.show(navigation);
  const double height = navigation->view()->bounds().height();
  EXPECT_EQ(a->view()->convertRectToView(a->view()->bounds(), navigation->view().get()),
            pf::Rect(0, NavigationController::kNavigationBarHeight, 320,
                     height - NavigationController::kNavigationBarHeight));
  navigation->setNavigationBarHidden(true, true);
  settle();
  EXPECT_TRUE(navigation->isNavigationBarHidden());
  EXPECT_TRUE(navigation->navigationBar()->isHidden());
  EXPECT_EQ(a->view()->convertRectToView(a->view()->bounds(), navigation->view().get()),
            pf::Rect(0, 0, 320, height));
}

// Faults caught: a screen that hides the status bar (a landscape player turning its bars along the
// screen's full height) keeping the 20-point strip out of its view, so its bars are clipped; the strip
// not given back when the status bar shows again.
TEST_F(ViewControllerTest, HidingTheStatusBarGivesItsStripToTheRootStack) {
  auto player = scene.page("A");
  auto navigation = scene.stack({scene.page("B"), player});
  scene.show(navigation);
  navigation->setNavigationBarHidden(true);
  auto& application = pf::Application::sharedApplication();
  const pf::Rect screen = pf::Screen::mainScreen().bounds();
  const auto inWindow = [&] { return player->view()->convertRectToView(player->view()->bounds(), nullptr); };
  application.setStatusBarHidden(true);
  EXPECT_EQ(inWindow(), screen);
  application.setStatusBarHidden(false);
  EXPECT_EQ(inWindow(), pf::Screen::mainScreen().applicationFrame());
  EXPECT_EQ(inWindow().minY(), pf::Application::kStatusBarHeight);
}

// Faults caught: a stack whose first top is framed before the stack's own content area is laid out
// (its view squeezed to nothing and grown back askew), so a tab's stack without its bar, inside
// another stack, lays its top out of place; a bar hidden before the view loads still showing.
TEST_F(ViewControllerTest, AStackInTabsInAStackFillsItsTabWithItsBarHidden) {
  auto a = scene.page("A");
  auto inner = std::make_shared<NavigationController>(a);
  inner->setNavigationBarHidden(true);
  auto tabs = std::make_shared<TabBarController>();
  tabs->setViewControllers({inner, scene.page("B")});
  auto outer = std::make_shared<NavigationController>(tabs);
  scene.show(outer);
  const double bar = NavigationController::kNavigationBarHeight;
  const pf::Rect below = pf::Screen::mainScreen().applicationFrame();
  EXPECT_EQ(a->view()->convertRectToView(a->view()->bounds(), nullptr),
            pf::Rect(0, below.minY() + bar, 320, below.height() - bar - TabBarController::kTabBarHeight));
  EXPECT_TRUE(inner->navigationBar()->isHidden());
  auto pushed = scene.page("C");
  inner->pushViewController(pushed, true);
  settle();
  EXPECT_EQ(pushed->view()->frame(), a->view()->frame());
}

TEST_F(ViewControllerTest, ControllerThatHidesTheBottomBarHidesTheTabBarWhilePushed) {
  auto root = scene.page("A"), detail = scene.page("B");
  detail->setHidesBottomBarWhenPushed(true);
  auto navigation = scene.stack({root});
  auto tabs = std::make_shared<TabBarController>();
  tabs->setViewControllers({navigation, scene.page("C")});
  scene.show(tabs);
  const double height = tabs->view()->bounds().height();
  EXPECT_EQ(navigation->view()->frame().height(), height - TabBarController::kTabBarHeight);
  navigation->pushViewController(detail, false);
  EXPECT_EQ(navigation->view()->frame().height(), height);
  EXPECT_GE(tabs->tabBar()->frame().minY(), height);
  navigation->popViewControllerAnimated(false);
  EXPECT_EQ(navigation->view()->frame().height(), height - TabBarController::kTabBarHeight);
  EXPECT_EQ(root->tabBarController(), tabs);
  EXPECT_EQ(root->navigationController(), navigation);
}

// Faults caught: a stack's tab showing an empty item of its own instead of its root screen's title and
// picture; an item set on the stack itself losing to the root's.
TEST_F(ViewControllerTest, AStacksTabShowsItsRootScreensItem) {
  auto courses = scene.page("A"), exams = scene.page("B");
  courses->setTitle("课程");
  courses->tabBarItem()->setImage(pf::Image::withBitmap(pf::Bitmap::create(4, 4)));
  exams->setTitle("考试");
  auto coursesStack = scene.stack({courses});
  auto examsStack = scene.stack({exams});
  auto own = std::make_shared<pf::TabBarItem>(std::string("自己"), nullptr, 7);
  examsStack->setTabBarItem(own);
  auto tabs = std::make_shared<TabBarController>();
  tabs->setViewControllers({coursesStack, examsStack});
  scene.show(tabs);
  EXPECT_EQ(coursesStack->tabBarItem(), courses->tabBarItem());
  auto bar = std::dynamic_pointer_cast<pf::TabBar>(tabs->tabBar());
  ASSERT_TRUE(bar);
  ASSERT_EQ(bar->items().size(), 2u);
  EXPECT_EQ(bar->items()[0]->title(), "课程");
  EXPECT_TRUE(bar->items()[0]->image()) << "the root's picture is not on its tab";
  EXPECT_EQ(bar->items()[1], own) << "the stack's own item lost to its root's";
  coursesStack->pushViewController(scene.page("C"), false);
  EXPECT_EQ(coursesStack->tabBarItem(), courses->tabBarItem()) << "the tab follows the top, not the root";
}

class TabDelegate : public pf::TabBarControllerDelegate {
 public:
  bool allow = true;
  std::vector<std::string> heard;
  bool shouldSelectViewController(TabBarController& tabs, ViewController& c) override {
    heard.push_back("should " + std::to_string(indexOf(tabs, c)));
    return allow;
  }
  void didSelectViewController(TabBarController& tabs, ViewController& c) override {
    heard.push_back("did " + std::to_string(indexOf(tabs, c)));
  }
  static size_t indexOf(TabBarController& tabs, ViewController& c) {
    const auto& all = tabs.viewControllers();
    for (size_t i = 0; i < all.size(); ++i) {
      if (all[i].get() == &c) return i;
    }
    return 99;
  }
};

TEST_F(ViewControllerTest, TabSelectionByCodeIsQuietAndByTouchAsksTheDelegate) {
  auto tabs = std::make_shared<TabBarController>();
  auto delegate = std::make_shared<TabDelegate>();
  tabs->setDelegate(delegate);
  auto first = scene.stack({scene.page("A")});
  tabs->setViewControllers({first, scene.page("B"), scene.page("C")});
  scene.show(tabs);
  pf::HeadlessHost host;
  const pf::Rect bar = tabs->tabBar()->convertRectToView(tabs->tabBar()->bounds(), nullptr);
  const auto tapTab = [&](int index) {
    host.tap({bar.width() / 3 * (index + 0.5), bar.midY()});
    settle();
  };

  tabs->setSelectedIndex(2);
  EXPECT_EQ(tabs->selectedIndex(), 2u);
  EXPECT_THAT(delegate->heard, IsEmpty());

  tapTab(1);
  EXPECT_EQ(tabs->selectedIndex(), 1u);
  EXPECT_THAT(delegate->heard, ElementsAre("should 1", "did 1"));

  delegate->heard.clear();
  delegate->allow = false;
  tapTab(0);
  EXPECT_EQ(tabs->selectedIndex(), 1u);
  EXPECT_THAT(delegate->heard, ElementsAre("should 0"));

  // Tapping the selected stack's tab again takes it back to its root and still tells the delegate.
  delegate->allow = true;
  tabs->setSelectedIndex(0);
  first->pushViewController(scene.page("D"), false);
  delegate->heard.clear();
  tapTab(0);
  EXPECT_EQ(first->viewControllers().size(), 1u);
  EXPECT_THAT(delegate->heard, ElementsAre("should 0", "did 0"));
  EXPECT_TRUE(appearanceBalanced(*scene.journal));
}

TEST_F(ViewControllerTest, DismissedBeforeItsPresentationFinishedLeavesNothingOnScreen) {
  auto a = scene.page("A"), m = scene.page("M");
  scene.show(a);
  bool presentedDone = false, dismissedDone = false;
  a->presentViewController(m, true, [&] { presentedDone = true; });
  runUntil(pf::Clock::now() + 0.05);
  m->dismissViewControllerAnimated(true, [&] { dismissedDone = true; });
  settle();
  EXPECT_TRUE(presentedDone);
  EXPECT_TRUE(dismissedDone);
  EXPECT_EQ(m->view()->superview(), nullptr);
  EXPECT_EQ(a->presentedViewController(), nullptr);
  EXPECT_EQ(m->presentingViewController(), nullptr);
  EXPECT_FALSE(a->view()->isHidden());
  EXPECT_EQ(a->appearanceState(), ViewController::AppearanceState::Appeared);
  EXPECT_EQ(m->appearanceState(), ViewController::AppearanceState::Disappeared);
  EXPECT_TRUE(appearanceBalanced(*scene.journal));
}

TEST_F(ViewControllerTest, PresentationLinksAndASecondPresentationRefused) {
  auto a = scene.page("A"), m = scene.page("M"), other = scene.page("O");
  auto navigation = scene.stack({a});
  scene.show(navigation);
  a->presentViewController(m, false);
  // The child presents through the top of its containment.
  EXPECT_EQ(m->presentingViewController(), navigation);
  EXPECT_EQ(a->presentedViewController(), m);
  EXPECT_EQ(navigation->visibleViewController(), m);
  EXPECT_TRUE(navigation->view()->isHidden());
  a->presentViewController(other, false);
  EXPECT_EQ(a->presentedViewController(), m);
  EXPECT_EQ(other->presentingViewController(), nullptr);
  // A controller presented by the presented one goes with it.
  m->presentViewController(other, false);
  EXPECT_EQ(other->presentingViewController(), m);
  a->dismissViewControllerAnimated(false);
  EXPECT_EQ(other->view()->superview(), nullptr);
  EXPECT_EQ(m->view()->superview(), nullptr);
  EXPECT_FALSE(navigation->view()->isHidden());
  EXPECT_TRUE(appearanceBalanced(*scene.journal));
}

TEST_F(ViewControllerTest, PartialCurlLiftsThePresenterAndATapOnTheCurlTakesItDown) {
  auto a = scene.page("A"), sheet = scene.page("S");
  a->view()->setBackgroundColor(pf::Color::white());
  sheet->view()->setBackgroundColor(pf::Color::blue());
  scene.show(a);
  sheet->setModalTransitionStyle(Style::PartialCurl);
  a->presentViewController(sheet, true);
  settle();
  pf::HeadlessHost host;
  host.render();
  EXPECT_EQ(host.pixelAt({160, 470}).blue, 255);
  EXPECT_EQ(host.pixelAt({160, 470}).red, 0);
  EXPECT_EQ(host.pixelAt({160, 30}).red, 255);
  host.tap({160, 40});
  settle();
  EXPECT_EQ(a->presentedViewController(), nullptr);
  host.render();
  EXPECT_EQ(host.pixelAt({160, 470}).red, 255);
  EXPECT_EQ(a->view()->frame(), pf::Screen::mainScreen().applicationFrame());
}

struct RotationCase {
  const char* name;
  pf::Screen::Profile profile;
  pf::Device::Orientation device;
  bool turns;
};

class Rotation : public ViewControllerTest, public testing::WithParamInterface<RotationCase> {};

TEST_P(Rotation, FollowsTheProfilesOrientations) {
  pf::Screen::configure(GetParam().profile);
  window->setFrame(pf::Screen::mainScreen().bounds());
  auto a = scene.page("A");
  auto navigation = scene.stack({a});
  scene.show(navigation);
  pf::Device::currentDevice().setOrientation(GetParam().device);
  EXPECT_EQ(ViewController::attemptRotationToDeviceOrientation(true), GetParam().turns);
  settle();
  if (!GetParam().turns) {
    EXPECT_THAT(*scene.journal, IsEmpty());
    return;
  }
  const int to = static_cast<int>(GetParam().device);
  EXPECT_THAT(*scene.journal, ElementsAre("A willRotate " + std::to_string(to), "A didRotate from 1"));
  const pf::Rect screen = pf::Screen::mainScreen().bounds();
  const bool landscape = pf::Device::isLandscape(GetParam().device);
  EXPECT_EQ(navigation->view()->bounds().width(), landscape ? screen.height() : screen.width());
  EXPECT_EQ(a->view()->bounds().width(), navigation->view()->bounds().width());
}

INSTANTIATE_TEST_SUITE_P(Profiles, Rotation,
                         testing::Values(RotationCase{"PhoneLandscape", pf::Screen::Profile::Phone,
                                                      pf::Device::Orientation::LandscapeLeft, true},
                                         RotationCase{"PhoneUpsideDown", pf::Screen::Profile::Phone,
                                                      pf::Device::Orientation::PortraitUpsideDown, false},
                                         RotationCase{"PhoneFaceUp", pf::Screen::Profile::Phone,
                                                      pf::Device::Orientation::FaceUp, false},
                                         RotationCase{"TabletUpsideDown", pf::Screen::Profile::Tablet,
                                                      pf::Device::Orientation::PortraitUpsideDown, true},
                                         RotationCase{"TabletLandscape", pf::Screen::Profile::Tablet,
                                                      pf::Device::Orientation::LandscapeRight, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ViewControllerTest, MemoryWarningReachesLivingControllers) {
  struct Counting : ViewController {
    int warnings = 0;
    void didReceiveMemoryWarning() override { ++warnings; }
  };
  auto counting = std::make_shared<Counting>();
  pf::Application::sharedApplication().receiveMemoryWarning();
  EXPECT_EQ(counting->warnings, 1);
  counting.reset();
  pf::Application::sharedApplication().receiveMemoryWarning();
}

}  // namespace

namespace {

TEST_F(ViewControllerTest, NavigationStackInTabsDrawsBarsAroundTheTop) {
  auto a = scene.page("A"), b = scene.page("B");
  a->view()->setBackgroundColor(pf::Color::white());
  b->view()->setBackgroundColor(pf::Color::fromRgba(0, 0.6, 0));
  auto navigation = scene.stack({a});
  auto tabs = std::make_shared<TabBarController>();
  tabs->setViewControllers({navigation, scene.page("C")});
  scene.show(tabs);
  navigation->pushViewController(b, true);
  runUntil(pf::Clock::now() + NavigationController::kPushDuration / 2);
  pf::HeadlessHost host;
  host.render();
  // Halfway through the push both tops show side by side.
  EXPECT_EQ(host.pixelAt({20, 200}).red, 255);
  EXPECT_EQ(host.pixelAt({300, 200}).red, 0);
  settle();
  if (const char* folder = std::getenv("MARLUNE_SNAPSHOT_DIR"))
    host.writePng(std::string(folder) + "/navigation-stack.png");
  host.render();
  EXPECT_GT(host.pixelAt({300, 20 + 22}).red, 200);  // the light navigation bar
  ASSERT_TRUE(std::dynamic_pointer_cast<pf::NavigationBar>(navigation->navigationBar()));
  EXPECT_EQ(std::static_pointer_cast<pf::NavigationBar>(navigation->navigationBar())->items().size(), 2u);
  EXPECT_EQ(host.pixelAt({160, 240}).green, 153);
  EXPECT_GT(host.pixelAt({160, 480 - 20}).red, 100);  // the tab bar, not the green top beneath
  EXPECT_EQ(host.pixelAt({160, 10}).red, 0);          // the status bar strip stays black
}

}  // namespace

namespace {

TEST_F(ViewControllerTest, BarsShowTheControllersItemsAndTheBackItemPops) {
  auto a = scene.page("A"), b = scene.page("B"), c = scene.page("C");
  a->setTitle("课程");
  auto navigation = scene.stack({a});
  auto tabs = std::make_shared<TabBarController>();
  c->setTitle("我的");
  tabs->setViewControllers({navigation, c});
  scene.show(tabs);
  navigation->pushViewController(b, false);
  auto bar = std::dynamic_pointer_cast<pf::NavigationBar>(navigation->navigationBar());
  ASSERT_TRUE(bar);
  ASSERT_EQ(bar->items().size(), 2u);
  EXPECT_EQ(bar->backItem()->title(), "课程");
  EXPECT_EQ(bar->topItem(), b->navigationItem());
  // The back button pops the bar's top item: the controller goes with it.
  bar->popNavigationItemAnimated(true);
  settle();
  EXPECT_THAT(navigation->viewControllers(), ElementsAre(a));
  EXPECT_EQ(bar->items().size(), 1u);
  auto tabBar = std::dynamic_pointer_cast<pf::TabBar>(tabs->tabBar());
  ASSERT_TRUE(tabBar);
  EXPECT_EQ(tabBar->items().size(), 2u);
  EXPECT_EQ(tabBar->items()[1]->title(), "我的");
  tabs->setSelectedIndex(1);
  EXPECT_EQ(tabBar->selectedItem(), c->tabBarItem());
  EXPECT_TRUE(appearanceBalanced(*scene.journal));
}

using pf::Rect;

// A bar that paints its own background, as an app's branded bar does.
template <typename Bar>
class PaintedBar : public Bar {
 public:
  void drawRect(const pf::Rect&) override {
    if (auto* context = pf::CurrentContext::get()) {
      context->setFillColor(pf::Color::fromRgba(1, 0.5, 0));
      context->fillRect(this->bounds());
    }
  }
};

// A container whose bar is a subclass's own: a painted platform bar or any plain view.
class OwnNavigation : public NavigationController {
 public:
  explicit OwnNavigation(bool platformBar) : platformBar_(platformBar) {}
 protected:
  std::shared_ptr<pf::View> makeNavigationBar() override {
    if (platformBar_) return std::make_shared<PaintedBar<pf::NavigationBar>>();
    auto plain = std::make_shared<pf::View>(Rect(0, 0, 10, 10));
    plain->setBackgroundColor(pf::Color::fromRgba(0, 0, 1));
    return plain;
  }
 private:
  bool platformBar_;
};

class OwnTabs : public TabBarController {
 public:
  explicit OwnTabs(bool platformBar) : platformBar_(platformBar) {}
 protected:
  std::shared_ptr<pf::View> makeTabBar() override {
    if (platformBar_) return std::make_shared<PaintedBar<pf::TabBar>>();
    auto plain = std::make_shared<pf::View>(Rect(0, 0, 10, 10));
    plain->setBackgroundColor(pf::Color::fromRgba(0, 0, 1));
    return plain;
  }
 private:
  bool platformBar_;
};

TEST_F(ViewControllerTest, ASubclassesOwnBarsTakeTheBarsPlaces) {
  for (bool platformBar : {true, false}) {
    auto a = scene.page("A"), b = scene.page("B"), c = scene.page("C");
    a->setTitle("A");
    for (auto& page : {a, b, c}) page->view()->setBackgroundColor(pf::Color::white());
    auto navigation = std::make_shared<OwnNavigation>(platformBar);
    navigation->setViewControllers({a});
    auto tabs = std::make_shared<OwnTabs>(platformBar);
    tabs->setViewControllers({navigation, c});
    scene.show(tabs);
    navigation->pushViewController(b, false);
    settle();
    // Each bar has its place whatever its kind: the top of the stack and the bottom of the tabs.
    EXPECT_EQ(navigation->navigationBar()->frame(), Rect(0, 0, 320, NavigationController::kNavigationBarHeight));
    EXPECT_EQ(tabs->tabBar()->frame(), Rect(0, 460 - TabBarController::kTabBarHeight, 320,
                                            TabBarController::kTabBarHeight));
    EXPECT_EQ(b->view()->frame().height(), 460 - NavigationController::kNavigationBarHeight -
                                               TabBarController::kTabBarHeight);
    pf::HeadlessHost host;
    host.render();
    // Orange from the override, blue from the plain view.
    const pf::Pixel top = host.pixelAt({300, 20 + 4});
    const pf::Pixel bottom = host.pixelAt({2, 480 - 4});
    EXPECT_EQ(top.red, platformBar ? 255 : 0) << platformBar;
    EXPECT_EQ(top.blue, platformBar ? 0 : 255) << platformBar;
    EXPECT_EQ(bottom.red, platformBar ? 255 : 0) << platformBar;
    EXPECT_EQ(bottom.blue, platformBar ? 0 : 255) << platformBar;
    if (platformBar) {
      // A platform bar still shows the items and its back item still pops.
      auto bar = std::dynamic_pointer_cast<pf::NavigationBar>(navigation->navigationBar());
      ASSERT_TRUE(bar);
      EXPECT_EQ(bar->items().size(), 2u);
      bar->popNavigationItemAnimated(false);
      settle();
      EXPECT_THAT(navigation->viewControllers(), ElementsAre(a));
      auto tabBar = std::dynamic_pointer_cast<pf::TabBar>(tabs->tabBar());
      ASSERT_TRUE(tabBar);
      EXPECT_EQ(tabBar->items().size(), 2u);
      host.tap({240, 480 - 20});
      settle();
      EXPECT_EQ(tabs->selectedIndex(), 1u);
    } else {
      navigation->popViewControllerAnimated(false);
      tabs->setSelectedIndex(1);
      settle();
      EXPECT_THAT(navigation->viewControllers(), ElementsAre(a));
      EXPECT_EQ(tabs->selectedIndex(), 1u);
    }
    if (const char* folder = std::getenv("MARLUNE_SNAPSHOT_DIR"))
      host.writePng(std::string(folder) + (platformBar ? "/own-bars.png" : "/plain-bars.png"));
    window->setRootViewController(nullptr);
    settle();
  }
}

}  // namespace
