// The course demo refuses a catalogue it cannot use, saying why, and registers nothing then; the
// learner's own course holds the units whose media are missing and five hundred generated ones.

#include "tools/devserver/demo/DemoCms.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/TemporaryFolder.h"
#include "tests/support/TestPaths.h"
#include "tools/devserver/demo/CourseCatalogue.h"

namespace {

TEST(DemoCms, ACatalogueThatIsMissingOrIncompleteIsRefusedWithTheReason) {
  struct Case {
    const char* content;  // nullptr: no file at all
    const char* reason;
  };
  const Case cases[] = {
      {nullptr, "cannot read"},
      {"{not json", "no JSON object with \"categories\""},
      {R"({"categories": {}, "courses": [], "promotions": [], "records": []})",
       "no JSON object with \"comments\""},
  };
  for (const Case& c : cases) {
    pf_test::TemporaryFolder data;
    if (c.content) {
      std::filesystem::create_directories(data.file("cms"));
      std::ofstream(data.file("cms/catalogue.json")) << c.content;
    }
    devserver::OpenServer::Settings settings;
    settings.appKey = "KEY";
    settings.secret = "SECRET";
    devserver::OpenServer server(settings);
    std::string problem;
    EXPECT_FALSE(devserver::installDemoCms(server, data.path(), &problem));
    EXPECT_NE(problem.find(c.reason), std::string::npos) << problem;
  }
}

// Catches: the learner's own course losing its generated units or their order, a missing video given
// no address (so no player or download ever meets the 404), and a missing lecture served as a real page.
TEST(DemoCms, TheSelectedCourseListsItsOddUnitsThenFiveHundredVideos) {
  std::string problem;
  auto catalogue = devserver::CourseCatalogue::read(std::string(MARLUNE_DEMO_DATA) + "/cms/catalogue.json", &problem);
  ASSERT_TRUE(catalogue) << problem;
  const nlohmann::json* course = catalogue->course("CRS-004");
  ASSERT_TRUE(course);
  const nlohmann::json units = catalogue->unitsJson(*course, "127.0.0.1:1");
  ASSERT_EQ(units.size(), 504u);
  EXPECT_EQ(units[2]["scoId"], "SCO-004-GONE");
  EXPECT_TRUE(units[2].contains("videoUrl"));
  EXPECT_FALSE(catalogue->videoSeconds("SCO-004-GONE")) << "the missing video would be served";
  EXPECT_TRUE(catalogue->lectureMissing("SCO-004-NOPAGE"));
  EXPECT_FALSE(catalogue->lectureMissing("SCO-002-02"));
  EXPECT_EQ(units[4]["scoId"], "SCO-004-G1");
  EXPECT_EQ(units[4]["showOrder"], "5");
  EXPECT_EQ(units[503]["scoId"], "SCO-004-G500");
  EXPECT_EQ(units[503]["showOrder"], "504");
  EXPECT_EQ(catalogue->videoSeconds("SCO-004-G500"), 30);
}

}  // namespace
