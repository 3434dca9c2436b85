#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/components/stackedpanels/StackedPanelsController.h"
#include "app/service/cms/CmsCategoryService.h"
#include "platform/ui/Screen.h"
#include "platform/ui/View.h"
#include "tests/app/service/cms/CourseDemoFixture.h"
#include "tests/app/support/ShippedMapping.h"

namespace {

class DemoCatalogueStackTest : public CourseDemoFixture {
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

std::shared_ptr<Category> firstWithChildren(const Category& category) {
  for (const auto& child : category.childCategories) {
    if (child && !child->childCategories.empty()) return child;
  }
  return nullptr;
}

// Catches a demo catalogue too shallow to open more than one panel: walking the first category with
// sub-categories at each level stacks four panels, the oldest hidden under the pile.
TEST_F(DemoCatalogueStackTest, TheFirstTopLevelCategoryOpensFourPanels) {
  pf::Screen::configure(pf::Screen::Profile::Phone);
  CmsCategoryService categories(delegate);
  const auto root = categories.getCourseCategory();
  ASSERT_TRUE(root);
  ASSERT_FALSE(root->childCategories.empty());
  auto container = std::make_shared<StackedPanelsController>()->init();
  std::shared_ptr<pf::ViewController> invoker;
  std::vector<std::string> opened;
  for (auto category = root->childCategories.front(); category; category = firstWithChildren(*category)) {
    auto panel = std::make_shared<pf::ViewController>();
    panel->view()->setFrame(pf::Rect(0, 0, 200, 400));
    container->addViewInSlider(panel, invoker, !invoker);
    invoker = panel;
    opened.push_back(category->categoryName.value_or(""));
  }
  EXPECT_EQ(opened, (std::vector<std::string>{"管理技能", "团队管理", "团队建设", "激励机制"}));
  EXPECT_EQ(container->viewControllersStack().size(), 4u);
  EXPECT_TRUE(container->slideViews()->subviews()[0]->isHidden());
  const auto& management = root->childCategories.front()->childCategories;
  ASSERT_EQ(management.size(), 2u);
  EXPECT_EQ(management[0]->childCategories.size(), 3u);  // a row that shows "3"
}

}  // namespace
