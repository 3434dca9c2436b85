// A tour's pictures and findings: each step gets its own PNG named after it, the faults showing after
// it and the picture names missed during it, and the page lists every step.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "app/tour/ScreenTour.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Image.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"
#include "tests/support/TemporaryFolder.h"

namespace screen_tour_test {

// Catches: step names that make unsafe or clashing file names (a slash leaving the folder, spaces).
TEST(ScreenTourTest, PictureNamesAreNumberedAndSafe) {
  struct Case {
    std::size_t number;
    const char* step;
    const char* file;
  };
  for (const Case& c : {Case{1, "sign-in", "01-sign-in.png"}, Case{12, "my courses/after sync", "12-my-courses-after-sync.png"},
                        Case{3, "../../etc", "03-------etc.png"}, Case{4, "考试", "04-------.png"}}) {
    EXPECT_EQ(ScreenTour::pictureName(c.number, c.step), c.file);
  }
}

// Catches: a step's picture not written, a fault or a missed picture of one step charged to another,
// or a finding line without the step and the screen's class.
TEST(ScreenTourTest, EachStepHasItsPictureAndItsOwnFindings) {
  pf::RunLoop::setMainThread();
  pf_test::TemporaryFolder folder;
  pf::Bundle::setMainBundlePath(folder.file("no-bundle"));
  auto window = std::make_shared<pf::Window>(pf::Rect(0, 0, 320, 480));
  auto screen = std::make_shared<pf::ViewController>();
  window->setRootViewController(screen);
  window->makeKeyAndVisible();

  ScreenTour tour(folder.path(), "phone");
  tour.shoot("menu", screen, window);
  pf::Image::named("CMS_MAIN_gone.png", 2);
  auto empty = std::make_shared<pf::TableView>(pf::Rect(0, 0, 320, 400));
  screen->view()->addSubview(empty);
  tour.shoot("my courses", screen, window);
  const std::string sheet = tour.finish();

  ASSERT_EQ(tour.shots().size(), 2u);
  EXPECT_TRUE(tour.shots()[0].findings.empty());
  EXPECT_EQ(tour.shots()[1].findings.size(), 2u);
  for (const auto& shot : tour.shots()) {
    const auto png = std::filesystem::path(folder.path()) / "phone" / shot.picture;
    EXPECT_TRUE(pf::Image::withContentsOfFile(png.string())) << png;
  }
  ASSERT_EQ(tour.findingLines().size(), 2u);
  EXPECT_EQ(tour.findingLines()[0].rfind("phone  my courses  ViewController  empty list: TableView", 0), 0u)
      << tour.findingLines()[0];
  EXPECT_EQ(tour.findingLines()[1], "phone  my courses  ViewController  missing picture: CMS_MAIN_gone.png");
  ASSERT_EQ(sheet, folder.file("index.html"));
  std::ifstream in(sheet);
  std::stringstream page;
  page << in.rdbuf();
  EXPECT_NE(page.str().find("phone/01-menu.png"), std::string::npos);
  EXPECT_NE(page.str().find("phone/02-my-courses.png"), std::string::npos);
  pf::Bundle::setMainBundlePath("");
}

}  // namespace screen_tour_test
