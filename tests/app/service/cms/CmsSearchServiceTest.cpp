#include "app/service/cms/CmsSearchService.h"

#include <gtest/gtest.h>

#include "platform/foundation/Clock.h"
#include "platform/foundation/VirtualClock.h"
#include "tests/app/support/AppSandbox.h"

namespace {

class CmsSearchServiceTest : public AppSandbox {
 protected:
  void SetUp() override {
    AppSandbox::SetUp();
    pf::Clock::install(clock_);
    ASSERT_EQ(launch(), InitService::DatabaseStart::Created);
    signIn("U1");
    searches_ = std::make_unique<CmsSearchService>();
  }
  void TearDown() override {
    pf::Clock::install(nullptr);
    AppSandbox::TearDown();
  }

  static void signIn(const std::string& userId) {
    auto user = std::make_shared<User>();
    user->userId = userId;
    CommonService().updateCurrentUser(user);
  }
  // Each search a second after the one before, as a user types them.
  void search(const std::string& text) {
    clock_->advance(1);
    ASSERT_TRUE(searches_->updateCourseSearchTableWithSearchStr(text)) << text;
  }
  std::vector<std::string> history() {
    std::vector<std::string> titles;
    for (const auto& search : searches_->findAllCourseSearchInfo())
      titles.push_back(search->title.value_or("nil"));
    return titles;
  }
  int storedRows() {
    return VelkDBHelper::instance()
        ->queryForSingleResult(6, "select count(*) from cms_search_info")
        .intValue();
  }

  std::shared_ptr<pf::VirtualClock> clock_ = std::make_shared<pf::VirtualClock>();
  std::unique_ptr<CmsSearchService> searches_;
};

TEST_F(CmsSearchServiceTest, NewestSearchComesFirstAndARepeatMovesUpWithoutANewRow) {
  for (const char* text : {"沟通", "safety", "领导力"}) search(text);
  EXPECT_EQ(history(), (std::vector<std::string>{"领导力", "safety", "沟通"}));
  search("沟通");
  EXPECT_EQ(history(), (std::vector<std::string>{"沟通", "领导力", "safety"}));
  EXPECT_EQ(storedRows(), 3);
  const auto newest = searches_->findAllCourseSearchInfo().front();
  EXPECT_EQ(newest->userId, "U1");
  EXPECT_DOUBLE_EQ(newest->lastTime->seconds, pf::VirtualClock::kDefaultWallOrigin + 4);
}

TEST_F(CmsSearchServiceTest, TheEleventhSearchPushesOutTheOldest) {
  for (int i = 1; i <= 10; ++i) search("t" + std::to_string(i));
  EXPECT_EQ(history().size(), 10u);
  search("t11");
  const std::vector<std::string> expected = {"t11", "t10", "t9", "t8", "t7", "t6", "t5", "t4", "t3", "t2"};
  EXPECT_EQ(history(), expected);
  // Searching an old text again reorders and never evicts.
  search("t2");
  EXPECT_EQ(history().front(), "t2");
  EXPECT_EQ(history().size(), 10u);
  search("t12");
  EXPECT_EQ(history().back(), "t4");
  EXPECT_EQ(storedRows(), 10);
}

TEST_F(CmsSearchServiceTest, EachUserKeepsAHistoryOfHisOwn) {
  for (int i = 1; i <= 10; ++i) search("u1-" + std::to_string(i));
  signIn("U2");
  EXPECT_TRUE(history().empty());
  search("u1-5");  // the same text as another user's is a search of his own
  for (int i = 1; i <= 10; ++i) search("u2-" + std::to_string(i));
  EXPECT_EQ(history().size(), 10u);
  EXPECT_EQ(history().back(), "u2-1");
  signIn("U1");
  EXPECT_EQ(history().size(), 10u);
  EXPECT_EQ(history().front(), "u1-10");
  EXPECT_EQ(history().back(), "u1-1");
}

TEST_F(CmsSearchServiceTest, NothingIsRememberedWithoutAUserOrAText) {
  EXPECT_FALSE(searches_->updateCourseSearchTableWithSearchStr(std::nullopt));
  EXPECT_FALSE(searches_->updateCourseSearchTableWithSearchStr(""));
  CommonService().updateCurrentUser(nullptr);
  EXPECT_FALSE(searches_->updateCourseSearchTableWithSearchStr("沟通"));
  EXPECT_TRUE(searches_->findAllCourseSearchInfo().empty());
  EXPECT_EQ(storedRows(), 0);
}

}  // namespace
