#pragma once
// Fixture for the micro-blog tabs: the demo learner (U0001) signed in on the stand-in, the module's
// root as the centre of a side-panel deck on the key window, and helpers to wait for lists, reach
// rows and read what the tabs show.

#include <memory>
#include <string>

#include "app/controller/blg/BlgAllTableViewController.h"
#include "app/controller/blg/BlgAllViewController.h"
#include "app/controller/blg/BlgDetailViewClasses.h"
#include "app/controller/blg/BlgDetailViewController.h"
#include "app/controller/blg/BlgFeedViewClasses.h"
#include "app/controller/blg/BlgMainCell.h"
#include "app/controller/blg/BlgMainViewController.h"
#include "app/controller/blg/BlgSquareViewController.h"
#include "app/controller/blg/BlgUserInfoViewController.h"
#include "app/controller/blg/TopicDetailViewController.h"
#include "app/model/blg/Blog.h"
#include "platform/ui/TabBarController.h"
#include "tests/app/components/ComponentSnapshots.h"
#include "tests/app/controller/lgn/SignInJourneyTest.h"
#include "platform/foundation/OperationQueue.h"
#include "ui/deck/PanelDeckController.h"
#include "ui/webimage/WebImageDownloader.h"
#include "ui/webimage/WebImageManager.h"

class BlgFeedJourneyTest : public SignInJourneyTest {
 protected:
  static constexpr char kLearnerId[] = "U0001";

  // The detail side's screens, plain, where its registration does not make them yet.
  static void standInForDetailScreens() {
    if (!ViewUtil::isScreenClassRegistered(BlgDetailViewController::kClassName))
      ViewUtil::registerScreenClass(BlgDetailViewController::kClassName,
                                    [](const std::string&) { return std::make_shared<BlgDetailViewController>(); });
    if (!ViewUtil::isScreenClassRegistered(TopicDetailViewController::kClassName))
      ViewUtil::registerScreenClass(TopicDetailViewController::kClassName,
                                    [](const std::string&) { return std::make_shared<TopicDetailViewController>(); });
  }

  explicit BlgFeedJourneyTest(pf::Screen::Profile screenProfile = pf::Screen::Profile::Phone)
      : SignInJourneyTest(screenProfile) {}

  void SetUp() override {
    SignInJourneyTest::SetUp();
    if (HasFatalFailure()) return;
    registerBlgFeedViewClasses();
    registerBlgDetailViewClasses();
    standInForDetailScreens();
    openSession();
    becomeCurrentUser(kLearnerId);
  }
  void TearDown() override {
    // An editor's "done" box may still be up: it pops the editor when it goes, and the list below
    // reloads on showing again; the case ends once that load and its pictures have ended.
    if (loop) {
      loop->runUntil(pf::Clock::now() + 3);
      WebImageManager::sharedManager()->cancelAll();
      auto pictures = WebImageDownloader::sharedDownloader()->downloadQueue();
      loop->runUntilTrue([&] { return pictures->operationCount() == 0 && pf::RunLoop::pendingWorkCount() == 0; }, 20);
      loop->runUntil(pf::Clock::now() + 1);
    }
    blgRoot.reset();
    blgDeck.reset();
    SignInJourneyTest::TearDown();
  }

  // The module root as the deck's centre, its home feed loaded.
  std::shared_ptr<BlgMainViewController> openModule() {
    blgRoot = std::dynamic_pointer_cast<BlgMainViewController>(
        ViewUtil::viewControllerFromNibOfClass(BlgMainViewController::kClassName));
    auto menu = std::make_shared<pf::ViewController>();
    blgDeck = PanelDeckController::create(blgRoot, menu);
    blgDeck->setLeftSize(pf::Screen::mainScreen().bounds().width() / 320 * 50);
    root = std::make_shared<pf::NavigationController>(blgDeck);
    window->setRootViewController(root);
    settle();
    waitForList(*home());
    return blgRoot;
  }
  std::shared_ptr<BlgAllTableViewController> home() const {
    return blgRoot->blgAllViewController->allTableViewController.lock();
  }
  // The navigation stack of the selected tab.
  std::shared_ptr<pf::NavigationController> tabStack() const {
    return std::dynamic_pointer_cast<pf::NavigationController>(blgRoot->tabBarController->selectedViewController());
  }
  void waitForList(BaseTableViewController& list) {
    loop->runUntil(pf::Clock::now() + 0.2);
    loop->runUntilTrue([&] { return !list.isRefreshing() && !list.isLoadingMore(); }, 20);
    loop->runUntil(pf::Clock::now() + 1);
  }
  void selectTab(size_t index) {
    blgRoot->tabBarController->tabTapped(index);
    settle();
  }
  std::shared_ptr<BlgMainCell> blogRow(BlgMainTableViewController& list, long row) {
    auto table = list.tableView();
    table->scrollToRowAtIndexPath(pf::IndexPath::forRow(row, 0), pf::TableView::ScrollPosition::Middle, false);
    loop->runUntil(pf::Clock::now() + 0.1);
    return std::dynamic_pointer_cast<BlgMainCell>(table->cellForRowAtIndexPath(pf::IndexPath::forRow(row, 0)));
  }
  long rowOfBlog(BlgMainTableViewController& list, const std::string& blogId) const {
    if (!list.resourceArr) return -1;
    for (size_t i = 0; i < list.resourceArr->size(); ++i)
      if (list.resourceArr->at(i)->blogId == blogId) return static_cast<long>(i);
    return -1;
  }
  static pf::Rect inWindow(const std::shared_ptr<pf::View>& view) {
    return view->convertRectToView(view->bounds(), nullptr);
  }
  std::string suffix() const { return profile == pf::Screen::Profile::Phone ? "_phone.png" : "_tablet.png"; }

  std::shared_ptr<BlgMainViewController> blgRoot;
  std::shared_ptr<PanelDeckController> blgDeck;
};
