// Download records: equality by unit, and their row in table sco_download_info (generated key, sizes
// beyond 32 bits, every state code).

#include <gtest/gtest.h>

#include <memory>
#include <regex>

#include "app/model/AppClasses.h"
#include "app/model/cms/CourseSco.h"
#include "app/model/cms/ScoDownloadInfo.h"
#include "core/db/VelkDBHelper.h"
#include "tests/app/support/ShippedMapping.h"
#include "tests/support/TemporaryFolder.h"

namespace {

std::shared_ptr<ScoDownloadInfo> record(const std::string& scoId, const std::string& userId) {
  auto r = std::make_shared<ScoDownloadInfo>();
  r->scoId = scoId;
  r->userId = userId;
  return r;
}

TEST(ScoDownloadInfoEquality, GoesByTheUnitAndTheClassOnly) {
  registerAppClasses();
  auto unitOfAnotherClass = std::make_shared<CourseSco>();
  unitOfAnotherClass->scoId = "S1";
  const struct {
    const char* what;
    std::shared_ptr<const pf::Object> other;
    bool equal;
  } cases[] = {
      {"another learner's record of the unit", record("S1", "U2"), true},
      {"a record of another unit", record("S2", "U1"), false},
      {"a unit object with the same id", unitOfAnotherClass, false},
      {"nothing", nullptr, false},
  };
  const auto mine = record("S1", "U1");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(mine->isEqual(c.other), c.equal);
  }
}

TEST(ScoDownloadInfoEquality, AFreshRecordIsDownloadingAndIncomplete) {
  const ScoDownloadInfo fresh;
  EXPECT_EQ(fresh.downloadState, DownloadInfo::kDownloading);
  EXPECT_FALSE(fresh.hasDownloaded);
  EXPECT_FALSE(fresh.isComplete());
  EXPECT_EQ(fresh.totalSize, 0u);
}

class DownloadTable : public ::testing::Test {
 protected:
  void SetUp() override {
    registerAppClasses();
    app_test::writeMappingOfWrittenClasses(folder_.file("DBConfig.xml"));
    store_ = std::make_shared<VelkDBHelper>(folder_.file("DBConfig.xml"), folder_.file("Marlune.db"));
    ASSERT_TRUE(store_->createDatabase());
  }

  pf_test::TemporaryFolder folder_;
  std::shared_ptr<VelkDBHelper> store_;
};

TEST_F(DownloadTable, ARecordSavedWithoutKeyGetsOneAndComesBackWhole) {
  auto saved = record("S1", "U1");
  saved->courseId = "C1";
  saved->downloadUrlStr = "http://127.0.0.1/v/a.mp4";
  saved->savePath = "/d/a.mp4";
  saved->tempSavePath = "/d/Temp/a.mp4";
  saved->downloadId = "S1";
  saved->progress = 0.25f;
  saved->downloadState = DownloadInfo::kPaused;
  saved->totalSize = 6'000'000'000ull;  // larger than 32 bits
  saved->downloadedSize = 1'500'000'000ull;
  ASSERT_TRUE(store_->saveOrUpdateObject(saved));
  ASSERT_TRUE(saved->sid);
  EXPECT_TRUE(std::regex_match(*saved->sid, std::regex("[0-9A-F]{32}"))) << *saved->sid;

  const auto loaded = store_->queryForObject("ScoDownloadInfo", pf::Value(*saved->sid));
  const auto back = std::dynamic_pointer_cast<ScoDownloadInfo>(loaded);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->scoId, "S1");
  EXPECT_EQ(back->courseId, "C1");
  EXPECT_EQ(back->userId, "U1");
  EXPECT_EQ(back->downloadUrlStr, saved->downloadUrlStr);
  EXPECT_EQ(back->savePath, saved->savePath);
  EXPECT_EQ(back->tempSavePath, saved->tempSavePath);
  EXPECT_EQ(back->downloadId, "S1");
  EXPECT_FLOAT_EQ(back->progress, 0.25f);
  EXPECT_EQ(back->downloadState, DownloadInfo::kPaused);
  EXPECT_EQ(back->totalSize, 6'000'000'000ull);
  EXPECT_EQ(back->downloadedSize, 1'500'000'000ull);
  EXPECT_FALSE(back->hasDownloaded);
}

TEST_F(DownloadTable, EveryStateCodeIsStoredAsItsNumber) {
  for (int state = DownloadInfo::kDownloading; state <= DownloadInfo::kNotFound; ++state) {
    auto r = record("S" + std::to_string(state), "U1");
    r->downloadState = state;
    r->hasDownloaded = state == DownloadInfo::kFinished;
    ASSERT_TRUE(store_->saveOrUpdateObject(r));
    const pf::Value stored = store_->queryForSingleResult(
        101, "select download_state from sco_download_info where sco_id = ?", {*r->scoId});
    EXPECT_EQ(stored.intValue(), state);
  }
  const pf::Value finished = store_->queryForSingleResult(
      101, "select count(*) from sco_download_info where has_downloaded = 1 and download_state = 3");
  EXPECT_EQ(finished.intValue(), 1);
}

}  // namespace
