// The course demo refuses a catalogue it cannot use, saying why, and registers nothing then.

#include "tools/devserver/demo/DemoCms.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/TemporaryFolder.h"

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

}  // namespace
