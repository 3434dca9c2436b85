// The question lists of the Q&A module against the demo stand-in: the searchable list pages to its
// end, one request per pull, a late load-more after a refresh adds nothing, load-more goes on with
// the searched text, offline lists have neither pull nor footer, the personal lists, the row that
// opens the detail, the module root's tabs and the action bar of the detail screens.

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <thread>

#include "app/controller/ans/AnsDetailViewClasses.h"
#include "app/controller/ans/AnsListViewClasses.h"
#include "app/controller/ans/AnsMainViewController.h"
#include "app/controller/ans/AnsQuesDetailViewController.h"
#include "app/controller/ans/AnsQuesListCell.h"
#include "app/controller/ans/AnsQuesViewController.h"
#include "app/controller/ans/AnsTabBar.h"
#include "app/controller/ans/AnsTabBarDelegate.h"
#include "app/controller/cmn/CmnWaitPromptView.h"
#include "app/controller/cmn/NodataBgView.h"
#include "app/model/ans/QaQuestion.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/RefreshControl.h"
#include "platform/ui/TabBar.h"
#include "platform/ui/TabBarItem.h"
#include "tests/app/controller/lgn/SignInJourneyTest.h"
#include "tools/devserver/Exchange.h"

namespace ans_question_list_test {

constexpr char kQuestionsPath[] = "/v1/qa/question/loadQuestions";

class AnsQuestionListTest : public SignInJourneyTest {
 protected:
  explicit AnsQuestionListTest(pf::Screen::Profile screenProfile = pf::Screen::Profile::Phone)
      : SignInJourneyTest(screenProfile) {}

  void SetUp() override {
    SignInJourneyTest::SetUp();
    if (HasFatalFailure()) return;
    registerAnsListViewClasses();
    registerAnsDetailViewClasses();
    openSession();
    becomeCurrentUser("U0001");
  }

  // The list of the given type as the first screen of a navigation controller on the window.
  std::shared_ptr<AnsQuesViewController> openList(int viewType) {
    list = std::dynamic_pointer_cast<AnsQuesViewController>(
        ViewUtil::viewControllerFromNibOfClass(AnsQuesViewController::kClassName));
    list->setViewType(viewType);
    root = std::make_shared<pf::NavigationController>(list);
    window->setRootViewController(root);
    waitForLoads();
    return list;
  }
  void waitForLoads() {
    loop->runUntil(pf::Clock::now() + 0.2);
    loop->runUntilTrue([&] { return !list->isRefreshing() && !list->isLoadingMore(); }, 20);
    loop->runUntil(pf::Clock::now() + 0.5);
  }
  std::vector<std::string> rowIds() const {
    std::vector<std::string> ids;
    for (const auto& question : list->qesInfoList) ids.push_back(question->questionId.value_or(""));
    return ids;
  }
  static bool unique(const std::vector<std::string>& ids) {
    return std::set<std::string>(ids.begin(), ids.end()).size() == ids.size();
  }
  size_t questionCalls() const { return server->calls(kQuestionsPath).size(); }

  std::shared_ptr<AnsQuesViewController> list;
};

// Faults caught: a page asked twice or skipped, a load-more past the end, rows shown twice.
TEST_F(AnsQuestionListTest, TheQuestionSearchPagesToItsEndWithNoRowTwice) {
  openList(AnsQuesViewController::kSearchAll);
  ASSERT_EQ(list->qesInfoList.size(), 20u);
  EXPECT_EQ(list->qesInfoList.front()->questionId, "QA-004");
  EXPECT_TRUE(list->canLoadMore());
  ASSERT_TRUE(list->loadMore());
  waitForLoads();
  EXPECT_EQ(list->qesInfoList.size(), 28u);
  EXPECT_TRUE(unique(rowIds()));
  EXPECT_FALSE(list->canLoadMore());
  EXPECT_FALSE(list->loadMore()) << "no next page";
  EXPECT_FALSE(list->isLoadingMore()) << "a refused load-more leaves the list free to load again";
  auto cell = std::dynamic_pointer_cast<AnsQuesListCell>(
      list->tableView()->cellForRowAtIndexPath(pf::IndexPath::forRow(0, 0)));
  ASSERT_TRUE(cell);
  EXPECT_EQ(cell->questionContentLabel.lock()->text(), "如何安排每天的学习时间？");
  EXPECT_EQ(cell->quizerLabel.lock()->text(), "李军");
  EXPECT_EQ(cell->answerQtyLabel.lock()->text(), "0个答案");
  EXPECT_EQ(cell->quizTimeLabel.lock()->text().value_or("").size(), 10u) << "yyyy-MM-dd";
}

// Faults caught: a second pull starting a second request while the first one loads.
TEST_F(AnsQuestionListTest, ASecondPullStartsNoSecondRequest) {
  openList(AnsQuesViewController::kSearchAll);
  const size_t before = questionCalls();
  EXPECT_TRUE(list->refreshData());
  EXPECT_FALSE(list->refreshData());
  waitForLoads();
  EXPECT_EQ(questionCalls() - before, 1u);
}

// Faults caught: a load-more that answers after a refresh began adding its rows to the new list
// (the same questions twice).
TEST_F(AnsQuestionListTest, ALateLoadMoreAfterARefreshAddsNoRow) {
  openList(AnsQuesViewController::kSearchAll);
  ASSERT_EQ(list->qesInfoList.size(), 20u);
  server->planFaults(kQuestionsPath, {[](devserver::Exchange& exchange) {
                       std::this_thread::sleep_for(std::chrono::milliseconds(800));
                       exchange.respond(
                           200,
                           R"({"pageNo":2,"pageSize":20,"autoCount":false,"total":28,)"
                           R"("rows":[{"questionId":"QA-004","title":"如何安排每天的学习时间？"}]})",
                           {{"Content-Type", "application/json;charset=UTF-8"}});
                     }});
  ASSERT_TRUE(list->loadMore());
  loop->runUntil(pf::Clock::now() + 0.05);
  ASSERT_TRUE(list->refreshData());
  waitForLoads();
  loop->runUntilTrue([&] { return !list->isLoadingMore(); }, 20);
  loop->runUntil(pf::Clock::now() + 0.5);
  EXPECT_EQ(list->qesInfoList.size(), 20u);
  EXPECT_TRUE(unique(rowIds()));
}

// Faults caught: load-more asking for the text typed since the last search, so a page of a search
// nobody started joins the rows.
TEST_F(AnsQuestionListTest, LoadMoreGoesOnWithTheSearchedText) {
  openList(AnsQuesViewController::kSearchAll);
  const auto searched = server->calls(kQuestionsPath).back().parameters.at("title");
  list->searchBar->setText("灭火");
  list->textDidChange(*list->searchBar, " 灭火 ");
  EXPECT_EQ(list->searchBarText, "灭火");
  ASSERT_TRUE(list->loadMore());
  waitForLoads();
  EXPECT_EQ(server->calls(kQuestionsPath).back().parameters.at("title"), searched);
  EXPECT_EQ(list->qesInfoList.size(), 28u);
  EXPECT_TRUE(unique(rowIds()));
  list->searchBarSearchButtonClicked(*list->searchBar);
  waitForLoads();
  EXPECT_EQ(rowIds(), std::vector<std::string>{"QA-001"});
}

// Faults caught: pull or footer offered offline, a first load that does not run; an empty result
// without its picture and text, or a wait prompt left on it.
TEST_F(AnsQuestionListTest, OfflineAtLoadHasNoPullOrFooterAndAnEmptyResultShowsItsPicture) {
  setOnline(false);
  openList(AnsQuesViewController::kSearchAll);
  EXPECT_FALSE(list->refreshControl());
  EXPECT_FALSE(list->tableView()->tableFooterView());
  EXPECT_EQ(list->qesInfoList.size(), 20u) << "the first load still runs";
  EXPECT_FALSE(list->canLoadMore());
  list->searchBar->setText("没有这样的问题");
  list->hideKeyBoard();
  waitForLoads();
  EXPECT_TRUE(list->qesInfoList.empty());
  auto empty = list->nodataBgView();
  ASSERT_TRUE(empty);
  EXPECT_FALSE(empty->isHidden());
  EXPECT_EQ(empty->centerLabel.lock()->text(), AnsQuesViewController::kNoQuestionText);
  EXPECT_TRUE(empty->centerImageView.lock()->image());
  EXPECT_TRUE(list->promptView->isHidden()) << "the wait prompt goes when the load ends";
}

// Faults caught: a personal list without its title or way back, or loading another user's list.
TEST_F(AnsQuestionListTest, ThePersonalListsOpenWithTitleAndBack) {
  struct Case {
    int type;
    const char* title;
    std::vector<std::string> ids;
  };
  const Case cases[] = {{AnsQuesViewController::kMyAsked, "我的问题", {"QA-003"}},
                        {AnsQuesViewController::kMyAnswered, "我的回答", {"QA-002"}},
                        {AnsQuesViewController::kMyFavorite, "我的收藏", {"QA-001"}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    auto start = std::make_shared<pf::ViewController>();
    root = std::make_shared<pf::NavigationController>(start);
    window->setRootViewController(root);
    settle();
    list = std::dynamic_pointer_cast<AnsQuesViewController>(
        ViewUtil::viewControllerFromNibOfClass(AnsQuesViewController::kClassName));
    list->setViewType(c.type);
    root->pushViewController(list, false);
    waitForLoads();
    auto title = std::dynamic_pointer_cast<pf::Label>(list->navigationItem()->titleView());
    ASSERT_TRUE(title);
    EXPECT_EQ(title->text(), c.title);
    EXPECT_EQ(rowIds(), c.ids);
    ASSERT_TRUE(list->navigationItem()->leftBarButtonItem());
    list->goback();
    settle();
    EXPECT_EQ(root->topViewController(), start);
  }
}

// Faults caught: a row that opens nothing, two details from a double tap, a detail without the
// question or the weak link back to the list.
TEST_F(AnsQuestionListTest, ARowOpensTheQuestionDetailOnce) {
  openList(AnsQuesViewController::kSearchAll);
  auto table = list->tableView();
  list->didSelectRowAtIndexPath(*table, pf::IndexPath::forRow(1, 0));
  list->didSelectRowAtIndexPath(*table, pf::IndexPath::forRow(1, 0));
  settle();
  ASSERT_EQ(root->viewControllers().size(), 2u);
  auto detail = std::dynamic_pointer_cast<AnsQuesDetailViewController>(root->topViewController());
  ASSERT_TRUE(detail);
  EXPECT_EQ(detail->question, list->qesInfoList[1]);
  EXPECT_TRUE(detail->hidesBottomBarWhenPushed());
  EXPECT_EQ(detail->qesVC.lock(), list);
}

// Faults caught: a module root without its question tab, or one whose search list asked for its
// deck before it had one.
TEST_F(AnsQuestionListTest, TheModuleRootShowsTheQuestionSearchFirst) {
  auto main = std::dynamic_pointer_cast<AnsMainViewController>(
      ViewUtil::viewControllerFromNibOfClass(AnsMainViewController::kClassName));
  ASSERT_TRUE(main);
  window->setRootViewController(main);
  settle();
  loop->runUntil(pf::Clock::now() + 2);
  ASSERT_FALSE(main->viewControllers().empty());
  auto navigation = std::dynamic_pointer_cast<pf::NavigationController>(main->viewControllers().front());
  ASSERT_TRUE(navigation);
  auto questions = std::dynamic_pointer_cast<AnsQuesViewController>(navigation->viewControllers().front());
  ASSERT_TRUE(questions);
  EXPECT_EQ(questions->viewType(), AnsQuesViewController::kSearchAll);
  EXPECT_EQ(questions->title(), "问题");
  EXPECT_EQ(questions->navigationItem()->titleView(), questions->searchBar);
  EXPECT_TRUE(questions->tabBarItem()->finishedSelectedImage());
  EXPECT_EQ(navigation->tabBarItem(), questions->tabBarItem()) << "the bar shows the tab's own item";
  auto bar = std::dynamic_pointer_cast<pf::TabBar>(main->tabBar());
  ASSERT_TRUE(bar);
  EXPECT_TRUE(bar->backgroundImage());
  EXPECT_FALSE(bar->isHidden());
  EXPECT_EQ(questions->searchBar->subviews().front(), questions->searchBar->textField())
      << "the bar's background is gone, its field stays";
}

class AnsTabBarLog : public AnsTabBarDelegate {
 public:
  std::vector<std::string> events;
  void ansTabBarDidSelectedItemAtIndex(int index) override {
    events.push_back("selected " + std::to_string(index));
  }
  void ansTabBarDidDeSelectedItemAtIndex(int index) override {
    events.push_back("deselected " + std::to_string(index));
  }
};

// Faults caught: the wrong index from a tag (203 is item 1), two items showing selected at once, a tap
// told as a release because its button no longer read highlighted.
TEST_F(AnsQuestionListTest, TheActionBarTellsTheItemIndexAndSelectsOneItem) {
  auto bar = std::dynamic_pointer_cast<AnsTabBar>(ViewUtil::viewFromNibOfClass(AnsTabBar::kClassName));
  ASSERT_TRUE(bar);
  ASSERT_EQ(bar->items.size(), 3u);
  EXPECT_EQ(bar->currentItemTag(), 103);
  auto log = std::make_shared<AnsTabBarLog>();
  bar->delegete = log;
  bar->setFrame(pf::Rect(0, 300, window->bounds().width(), 56));
  window->addSubview(bar);
  bar->setItemTitle("收藏问题", 2);
  auto title = std::dynamic_pointer_cast<pf::Button>(bar->viewWithTag(302));
  ASSERT_TRUE(title) << "the title companion of item 2";
  EXPECT_EQ(title->titleForState(pf::Control::kSelected), "收藏问题");

  tapView(bar->viewWithTag(103));
  tapView(bar->viewWithTag(203));
  EXPECT_EQ(log->events, (std::vector<std::string>{"selected 0", "selected 1"}));
  EXPECT_EQ(bar->currentItemTag(), 203);
  for (int tag : {200, 201, 202})
    EXPECT_TRUE(std::dynamic_pointer_cast<pf::Button>(bar->viewWithTag(tag))->isSelected());
  for (int tag : {100, 101, 102, 300, 301, 302})
    EXPECT_FALSE(std::dynamic_pointer_cast<pf::Button>(bar->viewWithTag(tag))->isSelected()) << tag;
}

class AnsListSnapshotTest : public AnsQuestionListTest,
                            public ::testing::WithParamInterface<pf::Screen::Profile> {
 protected:
  AnsListSnapshotTest() : AnsQuestionListTest(GetParam()) {}
};

// Faults caught: an interface file that does not load on a profile; rows without text or picture.
TEST_P(AnsListSnapshotTest, TheQuestionListShowsItsRows) {
  const std::string suffix = GetParam() == pf::Screen::Profile::Phone ? "_phone.png" : "_tablet.png";
  auto main = std::dynamic_pointer_cast<AnsMainViewController>(
      ViewUtil::viewControllerFromNibOfClass(AnsMainViewController::kClassName));
  window->setRootViewController(main);
  settle();
  auto navigation = std::dynamic_pointer_cast<pf::NavigationController>(main->viewControllers().front());
  list = std::dynamic_pointer_cast<AnsQuesViewController>(navigation->viewControllers().front());
  waitForLoads();
  loop->runUntil(pf::Clock::now() + 2);
  pf::HeadlessHost host(window);
  host.render();
  writeSnapshot(host, "ans_questions" + suffix);
  auto cell = std::dynamic_pointer_cast<AnsQuesListCell>(
      list->tableView()->cellForRowAtIndexPath(pf::IndexPath::forRow(0, 0)));
  ASSERT_TRUE(cell);
  EXPECT_TRUE(cell->userImgView.lock()->image());
  const pf::Rect label = cell->questionContentLabel.lock()->convertRectToView(
      cell->questionContentLabel.lock()->bounds(), nullptr);
  EXPECT_GT(label.maxY(), 44) << "rows lie under the navigation bar";
  EXPECT_LT(label.maxY(), window->bounds().height());
}

INSTANTIATE_TEST_SUITE_P(Profiles, AnsListSnapshotTest,
                         ::testing::Values(pf::Screen::Profile::Phone, pf::Screen::Profile::Tablet));

}  // namespace ans_question_list_test
