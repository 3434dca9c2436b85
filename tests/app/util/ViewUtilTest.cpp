#include "app/util/ViewUtil.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/controller/cmn/CmnNaviBtnItem.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Error.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/ui/Application.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "platform/ui/Toolbar.h"
#include "tests/support/TemporaryFolder.h"

namespace {

class StandInScreen : public pf::Object {
  PF_OBJECT(StandInScreen, pf::Object)
  std::string nibName;
};

class ViewUtilTest : public ::testing::Test {
 protected:
  void TearDown() override { ViewUtil::resetScreenClasses(); }
};

TEST_F(ViewUtilTest, MakesANewScreenOfARegisteredClassFromItsInterfaceFile) {
  ViewUtil::registerScreenClass("CmsMainViewController", [](const std::string& nibName) {
    auto screen = std::make_shared<StandInScreen>();
    screen->nibName = nibName;
    return screen;
  });
  EXPECT_TRUE(ViewUtil::isScreenClassRegistered("CmsMainViewController"));
  const auto first = ViewUtil::viewControllerFromNibOfClass("CmsMainViewController");
  const auto second = ViewUtil::viewControllerFromNibOfClass("CmsMainViewController");
  ASSERT_NE(std::dynamic_pointer_cast<StandInScreen>(first), nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(std::dynamic_pointer_cast<StandInScreen>(first)->nibName, "CmsMainViewController");
}

TEST_F(ViewUtilTest, AnUnknownScreenClassIsABuildFaultNamingIt) {
  try {
    ViewUtil::viewControllerFromNibOfClass("BlgMainViewController");
    FAIL() << "no fault";
  } catch (const pf::ContractViolation& e) {
    EXPECT_NE(std::string(e.what()).find("BlgMainViewController"), std::string::npos);
  }
}

// The interface file of a class by idiom and edition: a customer's "Orv_" file wins only for screens and
// views made by class, and only when it lies in the bundle folder itself.
class ViewUtilNibNames : public ::testing::Test {
 protected:
  void SetUp() override { pf::Bundle::setMainBundlePath(folder.path()); }
  void TearDown() override {
    pf::Bundle::setMainBundlePath("");
    pf::Screen::configure(pf::Screen::Profile::Phone);
  }
  void addFile(const std::string& name) { std::ofstream(folder.file(name)) << "<interface/>"; }

  pf_test::TemporaryFolder folder;
};

TEST_F(ViewUtilNibNames, TakeTheTabletSuffixAndTheEditionPrefixOnlyWhenItsFileIsThere) {
  struct Case {
    pf::Screen::Profile profile;
    const char* editionFile;  // in the bundle folder, or none
    const char* expected;
  };
  const Case cases[] = {
      {pf::Screen::Profile::Phone, nullptr, "CmsMainViewController"},
      {pf::Screen::Profile::Phone, "Orv_CmsMainViewController.nib", "Orv_CmsMainViewController"},
      {pf::Screen::Profile::Phone, "Orv_CmsMainViewController_ipad.nib", "CmsMainViewController"},
      {pf::Screen::Profile::Tablet, nullptr, "CmsMainViewController_ipad"},
      {pf::Screen::Profile::Tablet, "Orv_CmsMainViewController_ipad.nib", "Orv_CmsMainViewController_ipad"},
      {pf::Screen::Profile::Tablet, "Orv_CmsMainViewController.nib", "CmsMainViewController_ipad"},
  };
  for (const auto& c : cases) {
    pf_test::TemporaryFolder bundle;
    pf::Bundle::setMainBundlePath(bundle.path());
    if (c.editionFile) std::ofstream(bundle.file(c.editionFile)) << "<interface/>";
    pf::Screen::configure(c.profile);
    EXPECT_EQ(ViewUtil::nibNameOfClass("CmsMainViewController"), c.expected)
        << (c.editionFile ? c.editionFile : "no edition file");
  }
}

TEST_F(ViewUtilNibNames, AnEditionFileInASubfolderIsNotTheEditions) {
  std::filesystem::create_directories(folder.file("lgn"));
  std::ofstream(folder.file("lgn/Orv_LoginViewController.nib")) << "<interface/>";
  EXPECT_EQ(ViewUtil::nibNameOfClass("LoginViewController"), "LoginViewController");
}

// Cells and files loaded by name keep the standard file even where an edition file exists.
TEST_F(ViewUtilNibNames, CellsAndNamedFilesNeverTakeTheEditionFile) {
  const char* plain = R"(<interface><object class="TableViewCell" id="c" reuseIdentifier="PlainRow" frame="0 0 320 44" tag="1"/></interface>)";
  const char* edition = R"(<interface><object class="TableViewCell" id="c" reuseIdentifier="PlainRow" frame="0 0 320 44" tag="2"/></interface>)";
  std::ofstream(folder.file("PlainRow.nib")) << plain;
  std::ofstream(folder.file("Orv_PlainRow.nib")) << edition;
  auto table = std::make_shared<pf::TableView>(pf::Rect(0, 0, 320, 400));
  auto first = ViewUtil::tableViewCellWithClass("PlainRow", *table);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->tag(), 1);
  EXPECT_EQ(first->reuseIdentifier(), "PlainRow");
  auto second = ViewUtil::tableViewCellWithClass("PlainRow", *table);
  ASSERT_TRUE(second);
  EXPECT_NE(first, second) << "a cell still in use is not handed out again";
  EXPECT_EQ(ViewUtil::viewFromNibWithNibName("PlainRow")->tag(), 1);
  EXPECT_EQ(ViewUtil::viewFromNibOfClass("PlainRow")->tag(), 2) << "views made by class take the edition's";
}

TEST(ViewUtilTopics, CheckTopicInputCountsPiecesAndTrimmedLengths) {
  struct Case {
    std::optional<std::string> text;
    unsigned maxTopics, maxLength;
    bool accepted;
  };
  const Case cases[] = {
      {std::nullopt, 3, 10, true},
      {" \n ", 3, 10, true},
      {"安全，消防,急救", 3, 10, true},
      {"安全，消防,急救,环保", 3, 10, false},
      {"安全，消防,急救,", 3, 10, false},  // four pieces, one empty
      {"安全,,急救", 3, 10, true},           // empty pieces count but pass the length test
      {"安全,      ,急救", 3, 2, true},      // only spaces: nothing to measure
      {"一二三四五六七八九十", 3, 10, true},
      {"一二三四五六七八九十一", 3, 10, false},
      {"  一二三四五六七八九十  ", 3, 10, true},  // measured trimmed
      {"😀😀😀😀😀", 3, 10, true},               // ten UTF-16 units
      {"😀😀😀😀😀😀", 3, 10, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ViewUtil::checkTopicInput(c.text, c.maxTopics, c.maxLength), c.accepted) << c.text.value_or("(nil)");
  }
}

TEST(ViewUtilWindows, TheWindowRootIsNoneWithoutAWindow) {
  pf::Application::sharedApplication().reset();
  EXPECT_EQ(ViewUtil::getWindowRootViewController(), nullptr);
  EXPECT_EQ(ViewUtil::getKeyWindow(), nullptr);
}

struct KeyboardOwner {
  int hides = 0;
  void hideKeyBoard() { ++hides; }
};

TEST(ViewUtilKeyboard, TextInputsGetTheHidingToolbarOnlyWhenAsked) {
  pf::Screen::configure(pf::Screen::Profile::Phone);
  auto owner = std::make_shared<KeyboardOwner>();
  auto hide = [weak = std::weak_ptr<KeyboardOwner>(owner)] { weak.lock()->hideKeyBoard(); };
  auto field = std::make_shared<pf::TextField>(pf::Rect(0, 0, 200, 30));
  auto text = std::make_shared<pf::TextView>(pf::Rect(0, 0, 200, 100));
  auto plain = std::make_shared<pf::View>(pf::Rect(0, 0, 10, 10));
  ViewUtil::keyBoardShouldShowHiddenButtonOfTextField(field, false, owner, hide);
  EXPECT_EQ(field->inputAccessoryView(), nullptr);
  ViewUtil::keyBoardShouldShowHiddenButtonOfTextField(field, true, owner, hide);
  ViewUtil::keyBoardShouldShowHiddenButtonOfTextField(text, true, owner, hide);
  ViewUtil::keyBoardShouldShowHiddenButtonOfTextField(plain, true, owner, hide);
  auto bar = std::dynamic_pointer_cast<pf::Toolbar>(field->inputAccessoryView());
  ASSERT_TRUE(bar);
  ASSERT_TRUE(std::dynamic_pointer_cast<pf::Toolbar>(text->inputAccessoryView()));
  EXPECT_EQ(bar->frame(), pf::Rect(0, 0, 320, 30));
  EXPECT_EQ(bar->barStyle(), pf::Toolbar::BarStyle::BlackTranslucent);
  ASSERT_EQ(bar->items().size(), 2u);
  EXPECT_TRUE(bar->items()[0]->isSpace());
  const auto& done = bar->items()[1];
  EXPECT_EQ(done->title(), "隐藏键盘");
  EXPECT_EQ(done->style(), pf::BarButtonItem::Style::Done);
  done->performAction();
  EXPECT_EQ(owner->hides, 1);
}

struct BackOwner {
  int gobacks = 0;
  void goback() { ++gobacks; }
};

TEST(ViewUtilBackItem, IsA55PointReturnItemCallingGoback) {
  pf::Bundle::setMainBundlePath(MARLUNE_BUNDLE_DIR);
  auto owner = std::make_shared<BackOwner>();
  auto item = ViewUtil::backBtnItemWithTarget(owner);
  auto button = std::dynamic_pointer_cast<pf::Button>(item->customView());
  ASSERT_TRUE(button);
  EXPECT_EQ(button->frame().width(), 55);
  EXPECT_NE(button->backgroundImageForState(pf::Control::kNormal), nullptr);
  EXPECT_NE(button->backgroundImageForState(pf::Control::kHighlighted), nullptr);
  auto title = std::dynamic_pointer_cast<pf::Label>(button->viewWithTag(CmnNaviBtnItem::kTitleTag));
  EXPECT_EQ(title->text(), "返回");
  EXPECT_EQ(title->frame(), pf::Rect(0, 0, 55, 30)) << "no icon: the title spans the button";
  button->sendActionsForControlEvents(pf::Control::kTouchUpInside);
  EXPECT_EQ(owner->gobacks, 1);
  owner.reset();
  button->sendActionsForControlEvents(pf::Control::kTouchUpInside);  // a gone target is not called
  pf::Bundle::setMainBundlePath("");
}

}  // namespace
