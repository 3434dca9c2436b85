// The square's two searches and the profiles against the demo stand-in: a text carried across the
// segments, the keyboard bar, offline and empty results, people rows, follow state from the server's
// codes, the own tab's profile and the follow lists; and how the tabs look on the phone and tablet.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "app/controller/blg/MyAttentionCell.h"
#include "app/controller/blg/MyAttentionTableViewController.h"
#include "app/controller/blg/MyAttentionViewController.h"
#include "app/controller/blg/MyfansTableViewController.h"
#include "app/controller/blg/MyfansViewController.h"
#include "app/controller/blg/SearchBlogViewController.h"
#include "app/controller/blg/SearchPeopleCell.h"
#include "app/controller/blg/SearchPeopleViewController.h"
#include "app/controller/cmn/NodataBgView.h"
#include "app/model/blg/BlogUser.h"
#include "app/model/blg/Statistics.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextField.h"
#include "platform/ui/Toolbar.h"
#include "tests/app/controller/blg/feeds/BlgFeedJourneyTest.h"
#include "tools/devserver/Answers.h"

namespace blg_square_profile_test {

constexpr char kUsersPath[] = "/v1/wb/bloguser/loadBlogUsers";
constexpr char kCorpPath[] = "/v1/wb/blog/loadCorpBlogs";

std::optional<std::string> textParameter(const devserver::OpenCall& call, const char* name) { return call.text(name); }

class BlgSquareTest : public BlgFeedJourneyTest {
 protected:
  std::shared_ptr<BlgSquareViewController> openSquare() {
    openModule();
    selectTab(1);
    auto square = blgRoot->blgSquareViewController;
    waitForList(*square->searchBlgTableViewController.lock());
    return square;
  }
};

// Faults caught: the people segment first shown with a text loading everybody (its own refresh
// unfiltered, the search refused), the text not searched in the blogs when coming back, the keyboard
// bar's clearing reloading anything.
TEST_F(BlgSquareTest, ATypedTextIsSearchedInWhicheverSegmentShows) {
  auto square = openSquare();
  auto field = square->searchTextField.lock();
  auto people = square->searchPeopleTableViewController.lock();
  auto blogs = square->searchBlgTableViewController.lock();
  field->setText(std::string("王"));
  square->searchPeopleBtnPressed();
  waitForList(*people);
  const auto userCalls = server->calls(kUsersPath);
  ASSERT_EQ(userCalls.size(), 1u) << "one load, already filtered";
  EXPECT_EQ(textParameter(userCalls.front(), "nickName"), "王");
  ASSERT_TRUE(people->usersArr);
  ASSERT_EQ(people->usersArr->size(), 1u);
  EXPECT_EQ(people->usersArr->front()->nickName, "王芳");
  EXPECT_FALSE(people->view()->isHidden());
  EXPECT_TRUE(blogs->view()->isHidden());
  EXPECT_FALSE(square->rightBtn.lock()->isEnabled()) << "the chosen segment shows its disabled art";

  square->searchBlogBtnPressed();
  waitForList(*blogs);
  EXPECT_EQ(textParameter(server->calls(kCorpPath).back(), "content"), "王");
  ASSERT_TRUE(blogs->resourceArr);
  for (const auto& blog : *blogs->resourceArr) EXPECT_NE(blog->content->find("王"), std::string::npos);

  const size_t before = server->calls(kCorpPath).size();
  square->editDone();
  loop->runUntil(pf::Clock::now() + 0.5);
  EXPECT_TRUE(field->text().empty());
  EXPECT_FALSE(blogs->searchStr);
  EXPECT_FALSE(people->searchStr);
  EXPECT_EQ(server->calls(kCorpPath).size(), before) << "nothing reloads";
}

// Faults caught: a keyboard bar on the tablet or none on the phone.
TEST_F(BlgSquareTest, ThePhoneFieldCarriesTheHideKeyboardBar) {
  auto square = openSquare();
  auto bar = std::dynamic_pointer_cast<pf::Toolbar>(square->searchTextField.lock()->inputAccessoryView());
  ASSERT_TRUE(bar);
  EXPECT_EQ(bar->frame().height(), 30);
  EXPECT_EQ(bar->barStyle(), pf::Toolbar::BarStyle::BlackTranslucent);
}

// Faults caught: rows lost by an offline pull, an empty search without the empty-list view.
TEST_F(BlgSquareTest, OfflinePullKeepsRowsAndAnEmptyResultShowsTheEmptyView) {
  auto square = openSquare();
  auto blogs = square->searchBlgTableViewController.lock();
  const size_t rows = blogs->resourceArr->size();
  ASSERT_GT(rows, 0u);
  setOnline(false);
  EXPECT_TRUE(blogs->refreshData());
  loop->runUntil(pf::Clock::now() + 0.2);
  EXPECT_EQ(boxText(), "当前网络不可用");
  EXPECT_FALSE(blogs->isRefreshing());
  EXPECT_EQ(blogs->resourceArr->size(), rows);
  setOnline(true);
  loop->runUntil(pf::Clock::now() + 3);

  square->searchTextField.lock()->setText(std::string("没有这样的内容"));
  square->searchBtnPressed();
  waitForList(*blogs);
  EXPECT_TRUE(blogs->resourceArr->empty());
  ASSERT_TRUE(blogs->nodataBgView());
  EXPECT_FALSE(blogs->nodataBgView()->isHidden());
}

// Faults caught: a people row locking the square before a look-up that fails, a people row that
// opens nothing, fan counts shown wrongly, a reused row keeping another face.
TEST_F(BlgSquareTest, APeopleRowOpensTheProfileAndOnlyThenLocksTheSquare) {
  auto square = openSquare();
  square->searchPeopleBtnPressed();
  auto people = square->searchPeopleTableViewController.lock();
  waitForList(*people);
  ASSERT_TRUE(people->usersArr && !people->usersArr->empty());
  long wang = -1;
  for (size_t i = 0; i < people->usersArr->size(); ++i)
    if (people->usersArr->at(i)->userId == "U9101") wang = static_cast<long>(i);
  ASSERT_GE(wang, 0);
  auto table = people->tableView();
  table->scrollToRowAtIndexPath(pf::IndexPath::forRow(wang, 0), pf::TableView::ScrollPosition::Middle, false);
  loop->runUntil(pf::Clock::now() + 0.1);
  auto cell = std::dynamic_pointer_cast<SearchPeopleCell>(table->cellForRowAtIndexPath(pf::IndexPath::forRow(wang, 0)));
  ASSERT_TRUE(cell);
  EXPECT_EQ(cell->fanLabel.lock()->text(), "粉丝1人");
  EXPECT_NEAR(cell->frame().height(), profile == pf::Screen::Profile::Phone ? 55 : 1024.0 / 480 * 55, 0.01);

  server->planFaults("/v1/wb/bloguser/getUserDetailById", {devserver::answers::text(500, "down")});
  people->didSelectRowAtIndexPath(*table, pf::IndexPath::forRow(wang, 0));
  settle();
  EXPECT_EQ(tabStack()->viewControllers().size(), 1u);
  EXPECT_TRUE(blgDeck->isEnabled()) << "a failed look-up leaves the square unlocked";

  tapView(cell);
  auto profilePushed = std::dynamic_pointer_cast<BlgUserInfoViewController>(tabStack()->topViewController());
  ASSERT_TRUE(profilePushed);
  EXPECT_EQ(profilePushed->userStatistics->userId, "U9101");
  EXPECT_FALSE(blgDeck->isEnabled());
}

class BlgProfileTest : public BlgFeedJourneyTest {
 protected:
  std::shared_ptr<BlgUserInfoViewController> pushProfile(const std::shared_ptr<Statistics>& statistics) {
    auto profile = std::dynamic_pointer_cast<BlgUserInfoViewController>(
        ViewUtil::viewControllerFromNibOfClass(BlgUserInfoViewController::kClassName));
    profile->needBack = true;
    profile->userStatistics = statistics;
    profile->parentController = blgRoot;
    tabStack()->pushViewController(profile, false);
    settle();
    return profile;
  }
  static std::shared_ptr<Statistics> statisticsOf(const char* id, const char* nick, bool concerned) {
    auto statistics = std::make_shared<Statistics>();
    statistics->userId = id;
    statistics->nickName = nick;
    statistics->userConcerned = concerned;
    return statistics;
  }
};

// Faults caught: a server's "already followed" leaving the button at "加关注", its cause shown twice
// or not at all; a successful follow not flipping the state.
TEST_F(BlgProfileTest, FollowStateFollowsTheServerAlsoWhenItRefuses) {
  openModule();
  // The learner follows U9103 already; the handed statistics are stale.
  auto profile = pushProfile(statisticsOf("U9103", "培训讲师", false));
  EXPECT_EQ(profile->attentionBtn.lock()->titleForState(pf::Control::kNormal), "加关注");
  EXPECT_TRUE(profile->collectBtn.lock()->isHidden());
  profile->attentionBtnPressed();
  loop->runUntil(pf::Clock::now() + 0.3);
  EXPECT_TRUE(profile->isConcerned);
  EXPECT_EQ(profile->attentionBtn.lock()->titleForState(pf::Control::kNormal), "取消关注");
  EXPECT_TRUE(boxText().has_value());
  EXPECT_EQ(ProgressHUD::allHUDsForView(*window).size(), 1u) << "the cause is shown once";

  profile->attentionBtnPressed();
  loop->runUntil(pf::Clock::now() + 0.3);
  EXPECT_FALSE(profile->isConcerned) << "a successful cancel flips the state";
  EXPECT_EQ(profile->attentionBtn.lock()->titleForState(pf::Control::kNormal), "加关注");
}

// Faults caught: the own profile shown as another's, its counts not loaded, the counts tapped before
// the first load opening a list for nobody.
TEST_F(BlgProfileTest, TheOwnTabShowsTheSignedInUserAndItsListsAreTheirs) {
  openModule();
  auto own = blgRoot->blgUserInfoViewController;
  ASSERT_TRUE(own);
  blgRoot->tabBarController->tabTapped(3);
  ASSERT_FALSE(own->userStatistics) << "shown, its first load not yet arrived";
  own->leftUpBtnPressed();
  settle();
  auto ownStack = tabStack();
  auto follows = std::dynamic_pointer_cast<MyAttentionViewController>(ownStack->topViewController());
  ASSERT_TRUE(follows) << "pushed on the profile's stack";
  EXPECT_EQ(follows->userID, kLearnerId) << "the signed-in user's list before any load";

  auto stack = tabStack();
  stack->popToRootViewControllerAnimated(false);
  settle();
  loop->runUntilTrue([&] { return own->userStatistics != nullptr; }, 10);
  settle();
  EXPECT_FALSE(own->showsOtherUser());
  EXPECT_TRUE(own->attentionBtn.lock()->isHidden());
  EXPECT_FALSE(own->collectBtn.lock()->isHidden());
  EXPECT_EQ(own->userName.lock()->text(), "学员小林");
  EXPECT_EQ(own->leftUpLabel.lock()->text(), "5");
  EXPECT_TRUE(blgDeck->isEnabled());
}

// Faults caught: a follow button on the signed-in user's own row; a row's follow not flipping.
TEST_F(BlgProfileTest, AFansListHasNoButtonOnTheOwnRowAndFollowsFromOthers) {
  openModule();
  auto fans = std::dynamic_pointer_cast<MyfansViewController>(ViewUtil::viewControllerFromNibOfClass(MyfansViewController::kClassName));
  fans->userID = "U9104";
  tabStack()->pushViewController(fans, false);
  settle();
  auto list = fans->fansTableViewCon.lock();
  ASSERT_TRUE(list);
  waitForList(*list);
  ASSERT_TRUE(list->resourceArr);
  auto table = list->tableView();
  bool sawOwn = false;
  for (size_t row = 0; row < list->resourceArr->size(); ++row) {
    auto cell = std::dynamic_pointer_cast<MyAttentionCell>(table->cellForRowAtIndexPath(pf::IndexPath::forRow(row, 0)));
    ASSERT_TRUE(cell);
    const auto& user = *list->resourceArr->at(row);
    const bool own = user.userId == kLearnerId;
    sawOwn = sawOwn || own;
    EXPECT_EQ(cell->attentionBtn.lock()->isHidden(), own) << *user.userId;
    if (own) continue;
    const bool before = user.concerned;
    list->attentionBtnPressedWithCell(*cell);
    loop->runUntil(pf::Clock::now() + 0.2);
    EXPECT_NE(list->resourceArr->at(row)->concerned, before) << *user.userId;
    EXPECT_EQ(cell->attentionBtn.lock()->titleForState(pf::Control::kNormal), before ? "加关注" : "取消关注");
  }
  EXPECT_TRUE(sawOwn) << "the learner follows U9104";
}

}  // namespace blg_square_profile_test
