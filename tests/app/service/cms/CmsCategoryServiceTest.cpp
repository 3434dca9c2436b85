#include "app/service/cms/CmsCategoryService.h"

#include <gtest/gtest.h>

#include "tests/app/service/cms/CourseDemoFixture.h"
#include "tests/app/support/ShippedMapping.h"

namespace {

class CmsCategoryServiceTest : public CourseDemoFixture {
 protected:
  void SetUp() override {
    CourseDemoFixture::SetUp();
    app_test::writeMappingOfWrittenClasses(home.file("DBConfig.xml"));
    VelkDBHelper::initWithConfigPath(home.file("DBConfig.xml"), home.file("Marlune.db"));
  }
  void TearDown() override {
    VelkDBHelper::resetInstance();
    CourseDemoFixture::TearDown();
  }
};

TEST_F(CmsCategoryServiceTest, AnswersTheWholeTreeAndReportsFailuresToTheScreen) {
  CmsCategoryService categories(delegate);
  const auto root = categories.getCourseCategory();
  ASSERT_TRUE(root);
  EXPECT_EQ(root->categoryName, "全部课程");
  ASSERT_EQ(root->childCategories.size(), 3u);
  EXPECT_EQ(root->childCategories[1]->childCategories[0]->categoryName, "沟通表达");

  server.expireSessions();
  ServiceManager::sessionCache().clear();
  EXPECT_FALSE(categories.getCourseCategory());
  const std::vector<std::string> paths = reportedPaths();
  ASSERT_FALSE(paths.empty());
  EXPECT_EQ(paths.back(), OpenCategoryService::kGetCourseCategoryPath);
}

}  // namespace
