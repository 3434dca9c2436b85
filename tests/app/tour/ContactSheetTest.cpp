// The contact sheet: names and texts escaped, pictures linked relative to the page, and both profiles'
// runs on one page.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/tour/ContactSheet.h"
#include "core/util/StringUtil.h"
#include "tests/support/TemporaryFolder.h"

namespace contact_sheet_test {

std::string readAll(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Catches: markup pasted from a class or step name (a "<" opens a tag, a quote ends the attribute).
TEST(ContactSheetTest, NamesAndTextsAreEscaped) {
  struct Case {
    const char* text;
    const char* escaped;
  };
  for (const Case& c : {Case{"plain", "plain"}, Case{"<b>&", "&lt;b&gt;&amp;"},
                        Case{"say \"hi\" 'x'", "say &quot;hi&quot; &#39;x&#39;"}, Case{"课程 & 考试", "课程 &amp; 考试"}}) {
    EXPECT_EQ(StringUtil::htmlEscaped(c.text), c.escaped);
  }
  const std::string page = ContactSheet::html(
      {{"phone", {{"<script>x</script>", "Cms<T>", "01-a.png", {"cut text: \"<i>\""}}}}});
  EXPECT_EQ(page.find("<script>"), std::string::npos);
  EXPECT_EQ(page.find("<i>"), std::string::npos);
  EXPECT_NE(page.find("Cms&lt;T&gt;"), std::string::npos);
  EXPECT_NE(page.find("cut text: &quot;&lt;i&gt;&quot;"), std::string::npos);
}

// Catches: absolute or unencoded picture paths (a moved folder shows no pictures), and a second
// profile's run overwriting the first one's part of the page.
TEST(ContactSheetTest, BothProfilesRunsShowOnOnePageWithRelativePictures) {
  pf_test::TemporaryFolder folder;
  ASSERT_TRUE(ContactSheet::writeShots(folder.path(), {"tablet", {{"sign in", "LoginViewController", "01-sign-in.png", {}}}}));
  ASSERT_TRUE(ContactSheet::writeShots(
      folder.path(), {"phone", {{"menu", "AppNavigatorViewController", "01-menu.png", {}},
                                {"my courses", "CmsMyCourseViewController", "02 my#courses.png", {"empty list: x"}}}}));
  std::filesystem::create_directories(folder.file("damaged"));
  std::ofstream(folder.file("damaged") + "/shots.json") << "[{\"step\": 3";

  const auto sections = ContactSheet::readSections(folder.path());
  ASSERT_EQ(sections.size(), 2u) << "a damaged record is skipped";
  EXPECT_EQ(sections[0].profile, "phone");
  EXPECT_EQ(sections[0].shots[1].findings, std::vector<std::string>{"empty list: x"});
  EXPECT_EQ(sections[1].shots[0].screenClass, "LoginViewController");

  const std::string path = ContactSheet::writeIndex(folder.path());
  ASSERT_EQ(path, folder.file("index.html"));
  const std::string page = readAll(path);
  EXPECT_NE(page.find("src=\"phone/01-menu.png\""), std::string::npos);
  EXPECT_NE(page.find("src=\"phone/02%20my%23courses.png\""), std::string::npos);
  EXPECT_NE(page.find("src=\"tablet/01-sign-in.png\""), std::string::npos);
  EXPECT_EQ(page.find(folder.path()), std::string::npos) << "no absolute path";
  EXPECT_LT(page.find("AppNavigatorViewController"), page.find("LoginViewController")) << "phone first";
  EXPECT_NE(page.find("CmsMyCourseViewController"), std::string::npos);
}

}  // namespace contact_sheet_test
