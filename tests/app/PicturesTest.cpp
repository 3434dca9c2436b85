// Every picture the application names, in its code or its interface files, is in the assembled bundle
// at both scales: a name typed wrong, or a picture nobody added to the pictures tool, fails here.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "app/controller/blg/BlgBaseViewController.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Image.h"

namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Picture names as the code writes them: a module code, a screen code and a name, ending in ".png".
void namesInCode(const std::string& text, std::set<std::string>& names) {
  static const std::regex picture("\"([A-Z]{3}_[A-Za-z0-9]+_[A-Za-z0-9_]+)\\.png\"");
  for (std::sregex_iterator it(text.begin(), text.end(), picture), end; it != end; ++it) names.insert((*it)[1]);
}

// Pictures an interface file names in its image attributes (image, highlightedImage, backgroundImage...).
void namesInInterfaceFile(const std::string& text, std::set<std::string>& names) {
  static const std::regex attribute("\\s[A-Za-z]*[Ii]mage=\"([^\"]+?)(\\.png)?\"");
  for (std::sregex_iterator it(text.begin(), text.end(), attribute), end; it != end; ++it) names.insert((*it)[1]);
}

TEST(PicturesTest, EveryPictureNamedInCodeAndInterfaceFilesIsInTheBundleAtBothScales) {
  const fs::path app = fs::path(MARLUNE_APP_RESOURCES).parent_path();
  std::set<std::string> names = {"QSM_ALLS_enter_btn_n"};  // named without its extension
  for (const fs::path& root : {app, app.parent_path() / "ui"}) {
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      const auto ext = entry.path().extension();
      if (ext == ".cpp" || ext == ".h") namesInCode(readAll(entry.path()), names);
      if (ext == ".nib") namesInInterfaceFile(readAll(entry.path()), names);
    }
  }
  ASSERT_GT(names.size(), 10u) << "the scan found the pictures the shell names";
  for (const std::string& name : names) {
    for (const char* scale : {"", "@2x"}) {
      const fs::path file = fs::path(MARLUNE_BUNDLE_DIR) / (name + scale + ".png");
      ASSERT_TRUE(fs::exists(file)) << file.filename() << " is missing: add it to tools/pictures";
      EXPECT_NE(pf::Image::withContentsOfFile(file.string()), nullptr) << file.filename();
    }
  }
}

// The pictures of a scale pair show the same thing: the @2x one has twice the pixels of the other.
TEST(PicturesTest, DoubleScalePicturesHaveTwiceThePixels) {
  for (const char* name : {"CMN_BASE_bg", "CMN_Navi_notiIcon", "LGN_MAIN_login_btn_n", "STG_HELP_6"}) {
    const auto single = pf::Image::withContentsOfFile(std::string(MARLUNE_BUNDLE_DIR) + "/" + name + ".png");
    const auto twice = pf::Image::withContentsOfFile(std::string(MARLUNE_BUNDLE_DIR) + "/" + name + "@2x.png");
    ASSERT_TRUE(single && twice) << name;
    EXPECT_EQ(twice->bitmap()->width(), 2 * single->bitmap()->width()) << name;
    EXPECT_EQ(twice->size(), single->size()) << name;
  }
}

// Fault caught: the blog's back button (a square without a title) showed a wide picture squeezed
// into it, an outline with nothing in it; its picture is the button's square with a light arrow.
TEST(PicturesTest, TheBlogBackPictureIsItsButtonsSquareWithAnArrow) {
  for (const char* name : {"BLG_WBLG_back_n", "BLG_WBLG_back_p"}) {
    const auto picture = pf::Image::withContentsOfFile(std::string(MARLUNE_BUNDLE_DIR) + "/" + name + ".png");
    ASSERT_TRUE(picture) << name;
    EXPECT_EQ(picture->size(),
              pf::Size(BlgBaseViewController::kBackButtonSide, BlgBaseViewController::kBackButtonSide))
        << name;
    const auto& bitmap = *picture->bitmap();
    const int middle = bitmap.height() / 2;
    const pf::Pixel shaft = bitmap.pixel(bitmap.width() / 2, middle);
    const pf::Pixel body = bitmap.pixel(bitmap.width() / 2, bitmap.height() / 5);
    EXPECT_GT(shaft.red + shaft.green + shaft.blue, 600) << name << ": the arrow's shaft is light";
    EXPECT_LT(body.red + body.green + body.blue, 300) << name << ": the button around it is dark";
  }
}

// Fault caught: the blog's bar button was as dark as the bar, so its dark blue title could not be read.
TEST(PicturesTest, TheBlogBarButtonIsLightUnderItsDarkBlueTitle) {
  const auto picture =
      pf::Image::withContentsOfFile(std::string(MARLUNE_BUNDLE_DIR) + "/BLG_BASE_nav_btn_n.png");
  ASSERT_TRUE(picture);
  const auto& bitmap = *picture->bitmap();
  const pf::Pixel middle = bitmap.pixel(bitmap.width() / 2, bitmap.height() / 2);
  constexpr unsigned rgb = BlgBaseViewController::kRightTitleRGB;
  const int title = ((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF);
  EXPECT_GT(middle.red + middle.green + middle.blue, title + 300);
}

}  // namespace
