#include "app/service/cmn/CommonService.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/open/OpenExtension.h"
#include "core/open/ServiceManager.h"
#include "core/sqlite/SqlDatabase.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/ManualReachabilityProvider.h"
#include "platform/ui/Screen.h"
#include "tests/app/support/AppSandbox.h"
#include "tools/devserver/demo/DemoFiles.h"
#include "ui/webimage/ImageCache.h"

namespace {

class CommonServiceTest : public AppSandbox {
 protected:
  void SetUp() override {
    AppSandbox::SetUp();
    ASSERT_EQ(launch(), InitService::DatabaseStart::Created);
  }

  static std::shared_ptr<User> user(const std::string& userId, const std::string& corpCode) {
    auto u = std::make_shared<User>();
    u->userId = userId;
    u->corpCode = corpCode;
    u->loginName = "login-" + userId;
    return u;
  }
  bool draft(const std::string& key, const std::optional<std::string>& value) {
    return CommonService().createOrUpdateDraft(VelkSetting::settingWithKey(key, value));
  }
  static bool stored(const std::string& key) {
    return VelkDBHelper::instance()->valueForSettingKey(key).has_value();
  }
};

TEST_F(CommonServiceTest, IsFirstLauchAcrossAFreshInstallAndAnUpdate) {
  const struct {
    const char* installed;  // the release running at this launch
    bool first;
  } launches[] = {{"1.0", true}, {"1.0", false}, {"1.0", false},
                  {"1.1", true}, {"1.1", false}, {"2.0", true}};
  std::string previous = "1.0";
  for (const auto& l : launches) {
    SCOPED_TRACE(l.installed);
    if (l.installed != previous) installVersion(l.installed);
    previous = l.installed;
    launch();
    CommonService common;
    EXPECT_EQ(common.isFirstLauch(), l.first);
    EXPECT_EQ(common.getLastVersion(), l.installed);
    EXPECT_FALSE(pf::UserDefaults::standardUserDefaults()->boolForKey("firstLauch"));
  }
}

TEST_F(CommonServiceTest, LastVersionIsTheRunningOneUntilStored) {
  CommonService common;
  EXPECT_TRUE(pf::UserDefaults::standardUserDefaults()->objectForKey("lastVersion").isNil());
  EXPECT_EQ(common.getLastVersion(), "1.0");
  EXPECT_EQ(pf::UserDefaults::standardUserDefaults()->stringForKey("lastVersion"), "1.0");
  common.saveAndUpdateLastVersion("0.9");
  EXPECT_EQ(common.getLastVersion(), "0.9");
}

TEST_F(CommonServiceTest, TheSignInIsRememberedAcrossLaunches) {
  CommonService common;
  EXPECT_EQ(common.getLastLoginUserId(), std::nullopt);
  EXPECT_EQ(common.getLastLoginUserPassword(), std::nullopt);
  EXPECT_EQ(common.getLastLoginCorpcode(), std::nullopt);
  common.saveAndUpdateLastLoginUserId("U1", "pa ss", "acme");
  common.updateLastLoginUserPassword("new pass");

  launch();
  CommonService later;
  EXPECT_EQ(later.getLastLoginUserId(), "U1");
  EXPECT_EQ(later.getLastLoginUserPassword(), "new pass");
  EXPECT_EQ(later.getLastLoginCorpcode(), "acme");
}

TEST_F(CommonServiceTest, TheCurrentUserIsSharedByEveryInstanceUntilTheProcessEnds) {
  CommonService one;
  EXPECT_EQ(one.getCurrentUser(), nullptr);
  EXPECT_EQ(one.getCurrentUserId(), std::nullopt);
  EXPECT_EQ(one.getCurrentCorpcode(), std::nullopt);
  EXPECT_EQ(one.getCurrentLoginName(), std::nullopt);

  one.updateCurrentUser(user("U1", "acme"));
  CommonService two;
  EXPECT_EQ(two.getCurrentUserId(), "U1");
  EXPECT_EQ(two.getCurrentCorpcode(), "acme");
  EXPECT_EQ(two.getCurrentLoginName(), "login-U1");
  two.updateCurrentUser(nullptr);
  EXPECT_EQ(one.getCurrentUserId(), std::nullopt);

  EXPECT_FALSE(one.getAlreadyFisrtLoadSynCourse());
  two.updateAlreadyFisrtLoadSynCourse(true);
  EXPECT_TRUE(one.getAlreadyFisrtLoadSynCourse());
  launch();
  EXPECT_FALSE(CommonService().getAlreadyFisrtLoadSynCourse());
}

TEST_F(CommonServiceTest, DraftsEmptyTextRemovesNoDraftIsRefused) {
  CommonService common;
  const std::string key = "draft_acme_U1_comment_C9";
  EXPECT_EQ(common.getDraftOfDraftIdentifier(key), std::nullopt);
  EXPECT_FALSE(common.createOrUpdateDraft(nullptr));

  EXPECT_TRUE(draft(key, "half a sentence"));
  EXPECT_TRUE(draft(key, "a whole sentence"));
  EXPECT_EQ(common.getDraftOfDraftIdentifier(key), "a whole sentence");
  // A key with quotes is a value like any other.
  EXPECT_TRUE(draft("draft_acme_U1_it's", "x"));
  EXPECT_EQ(common.getDraftOfDraftIdentifier("draft_acme_U1_it's"), "x");

  EXPECT_TRUE(draft(key, ""));
  EXPECT_FALSE(stored(key));
  EXPECT_TRUE(draft(key, "again"));
  EXPECT_TRUE(draft(key, std::nullopt));
  EXPECT_FALSE(stored(key));
}

TEST_F(CommonServiceTest, CleanDraftRemovesOnlyTheCurrentUsersDrafts) {
  // Ids with LIKE wildcards in them must match only themselves.
  const std::string mine[] = {"draft_c%_u_1", "draft_c%_u_1_comment_C1", "draft_c%_u_1_blog"};
  const std::string others[] = {"draft_cX_uQ1_comment_C1", "draft_c%_u_10_blog",     "draft_c%_uX1",
                                "draft_other_u_1_blog",    "download_prompt_status", "db_version"};
  for (const std::string& key : mine) ASSERT_TRUE(draft(key, "text"));
  for (const std::string& key : others) {
    if (key != "db_version") ASSERT_TRUE(draft(key, "text"));
  }

  CommonService common;
  EXPECT_TRUE(common.cleanDraft());  // nobody signed in: nothing goes
  for (const std::string& key : mine) EXPECT_TRUE(stored(key)) << key;

  common.updateCurrentUser(user("u_1", "c%"));
  EXPECT_TRUE(common.cleanDraft());
  for (const std::string& key : mine) EXPECT_FALSE(stored(key)) << key;
  for (const std::string& key : others) EXPECT_TRUE(stored(key)) << key;
}

TEST_F(CommonServiceTest, TheDownloadPromptIsCreatedOnAndSwitches) {
  CommonService common;
  EXPECT_FALSE(stored("download_prompt_status"));
  EXPECT_TRUE(common.g3PromptStatus());
  EXPECT_EQ(VelkDBHelper::instance()->valueForSettingKey("download_prompt_status"), "YES");
  common.switchDownloadPromptStatus();
  EXPECT_FALSE(common.g3PromptStatus());
  EXPECT_EQ(VelkDBHelper::instance()->valueForSettingKey("download_prompt_status"), "NO");
  common.switchDownloadPromptStatus();
  EXPECT_TRUE(common.g3PromptStatus());
}

TEST_F(CommonServiceTest, ClearCacheEmptiesThePictureCacheAndTheDrafts) {
  CommonService common;
  EXPECT_TRUE(common.cleanPicCache());  // never made
  EXPECT_FALSE(std::filesystem::exists(ImageCache::defaultDiskCachePath()));

  const std::string cache = pf::Sandbox::cachesPath() + "/com.tessavorn.WebImageCache.default";
  EXPECT_EQ(ImageCache::defaultDiskCachePath(), cache);
  std::filesystem::create_directories(cache + "/ab");
  std::ofstream(cache + "/ab/picture") << "jpeg";
  std::ofstream(cache + "/other") << "png";
  common.updateCurrentUser(user("U1", "acme"));
  ASSERT_TRUE(draft("draft_acme_U1_blog", "text"));

  EXPECT_TRUE(common.clearCache());
  EXPECT_TRUE(std::filesystem::is_directory(cache));
  EXPECT_TRUE(std::filesystem::is_empty(cache));
  EXPECT_FALSE(stored("draft_acme_U1_blog"));
}

TEST_F(CommonServiceTest, ClearCacheAnswersNoWhenTheDraftsCannotGo) {
  CommonService common;
  common.updateCurrentUser(user("U1", "acme"));
  ASSERT_TRUE(draft("draft_acme_U1_blog", "text"));
  auto db = SqlDatabase::databaseWithPath(databasePath());
  ASSERT_TRUE(db->open());
  ASSERT_TRUE(db->executeUpdate(
      "CREATE TRIGGER keep_settings BEFORE DELETE ON settings BEGIN SELECT RAISE(ABORT, 'kept'); END"));
  db->close();

  EXPECT_FALSE(common.clearCache());
  EXPECT_TRUE(stored("draft_acme_U1_blog"));
}

// Either step failing makes the whole answer NO, and the other step still runs.
TEST_F(CommonServiceTest, ClearCacheAnswersNoWhenEitherStepFails) {
  const struct {
    bool picturesFail;
    bool draftsFail;
    bool expected;
  } cases[] = {{false, false, true}, {true, false, false}, {false, true, false}, {true, true, false}};
  const std::string cache = ImageCache::defaultDiskCachePath();
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "pictures fail " << c.picturesFail << ", drafts fail " << c.draftsFail);
    launch();
    CommonService common;
    common.updateCurrentUser(user("U1", "acme"));
    ASSERT_TRUE(draft("draft_acme_U1_blog", "text"));
    std::filesystem::remove_all(cache);
    if (c.picturesFail) {
      // A folder whose entries nobody may remove, root included: the kernel's list of open files.
      std::filesystem::create_directories(std::filesystem::path(cache).parent_path());
      std::filesystem::create_directory_symlink("/proc/self/fdinfo", cache);
    } else {
      std::filesystem::create_directories(cache);
      std::ofstream(cache + "/picture") << "jpeg";
    }
    auto db = SqlDatabase::databaseWithPath(databasePath());
    ASSERT_TRUE(db->open());
    ASSERT_TRUE(db->executeUpdate("DROP TRIGGER IF EXISTS keep_settings"));
    if (c.draftsFail) {
      ASSERT_TRUE(db->executeUpdate(
          "CREATE TRIGGER keep_settings BEFORE DELETE ON settings BEGIN SELECT RAISE(ABORT, 'kept'); END"));
    }
    db->close();

    EXPECT_EQ(common.clearCache(), c.expected);
    EXPECT_EQ(stored("draft_acme_U1_blog"), c.draftsFail);
    if (!c.picturesFail) EXPECT_TRUE(std::filesystem::is_empty(cache));
  }
  std::filesystem::remove(cache);
}

TEST_F(CommonServiceTest, CollectionDefineHoldsItsFiveDictionaries) {
  const auto resources = CommonService().resources();
  ASSERT_NE(resources, nullptr);
  EXPECT_EQ(resources, CommonService().resources());
  const struct {
    const char* dictionary;
    const char* code;
    const char* text;
  } cases[] = {
      {"ClientType", "APPLE_PHONE", "iPhone客户端"}, {"ClientType", "APPLE_PAD", "iPad客户端"},
      {"EmsQuestionType", "SINGLE", "单选题"},       {"EmsQuestionType", "JUDGMENT", "判断题"},
      {"EmsQuestionType", "QUESTIONS", "问答题"},    {"QsmQuestionType", "MUTIPLE_SELECT", "多选题"},
      {"QsmQuestionType", "GAP_FILLING", "填空题"},  {"SubmitResultMsg", "success", "试卷提交成功！"},
      {"SurveyMode", "ANONYMOUS", "匿名"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(resources->valueForResourceKey(c.code, c.dictionary), pf::Value(c.text))
        << c.dictionary << c.code;
  }
  EXPECT_TRUE(resources->valueForResourceKey("fail", "SubmitResultMsg").isString());
}

TEST_F(CommonServiceTest, TheImageUploadAddressIsAskedOnceAnsweredOnce) {
  pf::RunLoop::setMainThread();
  devserver::OpenServer server({"K", "S", 900, 600, {}});
  server.addUser({"acme", "alice", "pw", "U1"});
  devserver::installDemoFiles(server, "");
  ASSERT_TRUE(server.start());
  ServiceConfiguration configuration;
  configuration.appKey = "K";
  configuration.secret = "S";
  configuration.baseUrl = server.host();
  ServiceManager::initConfiguration(configuration);
  ServiceManager::sessionCache().clear();

  CommonService common;
  EXPECT_EQ(common.getImageUploadUrl(), std::nullopt);  // no session yet: refused, not kept
  ServiceManager::ParamDic login{
      {"loginName", openValue("alice")}, {"password", openValue("pw")}, {"corpCode", openValue("acme")}};
  ASSERT_FALSE(
      ServiceManager::performRemoteMethod("/v1/uc/login/ologin", login, "NSString", nullptr).isNil());
  EXPECT_EQ(common.getImageUploadUrl(), server.url("/upload/image"));
  EXPECT_EQ(CommonService().getImageUploadUrl(), server.url("/upload/image"));
  EXPECT_EQ(server.calls("/v1/sf/file/getImgUploadUrl").size(), 2u);

  server.stop();
  ServiceManager::sessionCache().clear();
  pf::RunLoop::main()->clear();
}

TEST_F(CommonServiceTest, TheClientTypeFollowsTheDeviceIdiom) {
  const pf::Screen::Profile before = pf::Screen::mainScreen().profile();
  pf::Screen::configure(pf::Screen::Profile::Tablet);
  EXPECT_EQ(CommonService().getClientType(), "APPLE_PAD");
  pf::Screen::configure(pf::Screen::Profile::Phone);
  EXPECT_EQ(CommonService().getClientType(), "APPLE_PHONE");
  pf::Screen::configure(before);
}

TEST_F(CommonServiceTest, TheNetworkStateOfTheDevice) {
  auto provider = std::make_shared<pf::ManualReachabilityProvider>();
  const auto previous = pf::ReachabilityProvider::install(provider);
  const struct {
    const char* what;
    pf::ReachabilityFlags flags;
    bool wifi, online;
  } cases[] = {
      {"Wi-Fi", pf::kReachabilityFlagsReachable | pf::kReachabilityFlagsIsDirect, true, true},
      {"mobile network", pf::kReachabilityFlagsReachable | pf::kReachabilityFlagsIsWWAN, false, true},
      {"nothing", 0, false, false},
  };
  CommonService common;
  for (const auto& c : cases) {
    provider->setFlags(c.flags);
    EXPECT_EQ(common.netIsWifi(), c.wifi) << c.what;
    EXPECT_EQ(common.isOnline(), c.online) << c.what;
  }
  pf::ReachabilityProvider::install(previous);
}

TEST_F(CommonServiceTest, ADatabaseRemovedUnderwayIsMadeAgain) {
  VelkDBHelper::instance()->removeDatabase();
  CommonService().chectDbVersionAndUpdate();
  EXPECT_TRUE(VelkDBHelper::instance()->tableExists("settings"));
}

}  // namespace
