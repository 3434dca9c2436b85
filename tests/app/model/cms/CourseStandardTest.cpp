#include <gtest/gtest.h>

#include "app/model/cms/CourseStandard.h"

namespace {

TEST(CourseStandard, EachStandardDecidesRulesSeekingAndWhatAnEmptyUnitListSays) {
  struct Case {
    std::optional<std::string> standard;
    bool unitProgress;
    bool singleVideo;
    bool freeSeeking;
    bool onDevice;
    std::string emptyUnits;
  };
  const std::string notForMobile = "该课程不支持移动端学习";
  const std::string noUnits = "获取章节失败！";
  const Case cases[] = {
      {"THREESCREEN", true, false, false, true, noUnits},
      {"TWOSCREEN", true, false, false, true, noUnits},
      {"ONESCREEN", false, true, true, true, noUnits},
      {"ONLINEPACKAGE", false, false, true, true, notForMobile},
      {"OLINEURL", false, false, false, true, notForMobile},
      {"ONLINEDOC", false, false, false, true, notForMobile},
      {"SCORM12", false, false, false, false, notForMobile},
      {"SCORM14", false, false, false, false, notForMobile},
      {"DOWNLOAD", false, false, false, false, notForMobile},
      {"threescreen", false, false, false, true, noUnits},
      {"VIDEO", false, false, false, true, noUnits},
      {std::nullopt, false, false, false, true, noUnits},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.standard.value_or("nil"));
    EXPECT_EQ(CourseStandard::hasUnitProgress(c.standard), c.unitProgress);
    EXPECT_EQ(CourseStandard::isSingleVideo(c.standard), c.singleVideo);
    EXPECT_EQ(CourseStandard::allowsFreeSeeking(c.standard), c.freeSeeking);
    EXPECT_EQ(CourseStandard::isStudiableOnDevice(c.standard), c.onDevice);
    EXPECT_EQ(CourseStandard::emptyUnitListMessage(c.standard), c.emptyUnits);
  }
}

}  // namespace
