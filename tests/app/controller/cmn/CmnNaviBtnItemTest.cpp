#include "app/controller/cmn/CmnNaviBtnItem.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "tests/app/controller/cmn/CmnScreenTest.h"

namespace {

class CmnNaviBtnItemTest : public CmnScreenTest {
 protected:
  std::shared_ptr<CmnNaviBtnItem> item(std::optional<std::string> icon, std::optional<std::string> text) {
    return std::make_shared<CmnNaviBtnItem>("CMN_NAVI_back_n.png", "CMN_NAVI_back_p.png", icon, text, owner,
                                            [this] { ++taps; });
  }
  template <typename V>
  static std::shared_ptr<V> part(const CmnNaviBtnItem& item, int tag) {
    return std::dynamic_pointer_cast<V>(item.customView()->viewWithTag(tag));
  }

  std::shared_ptr<int> owner = std::make_shared<int>(0);
  int taps = 0;
};

TEST_F(CmnNaviBtnItemTest, ItsPartsAreFoundByTheirTagsInTheButton) {
  auto made = item("CMN_NAVI_cms_n.png", "课程");
  auto button = std::dynamic_pointer_cast<pf::Button>(made->customView());
  ASSERT_TRUE(button);
  EXPECT_EQ(button->tag(), CmnNaviBtnItem::kButtonTag);
  EXPECT_EQ(button->frame(), pf::Rect(0, 0, 60, 30));
  for (int tag : {CmnNaviBtnItem::kIconTag, CmnNaviBtnItem::kTitleTag, CmnNaviBtnItem::kBadgeTag,
                  CmnNaviBtnItem::kBadgePictureTag, CmnNaviBtnItem::kBadgeNumberTag}) {
    EXPECT_NE(button->viewWithTag(tag), nullptr) << tag;
  }
  EXPECT_EQ(part<pf::View>(*made, CmnNaviBtnItem::kBadgeTag)->frame(), pf::Rect(40, -10, 20, 20));
  EXPECT_TRUE(made->badgeHidden());
  button->sendActionsForControlEvents(pf::Control::kTouchUpInside);
  EXPECT_EQ(taps, 1);
}

// Which parts fill the button follows what the item was made with.
TEST_F(CmnNaviBtnItemTest, TextAloneSpansTheButtonCentredAndAnIconAloneFillsIt) {
  struct Case {
    std::optional<std::string> icon, text;
    pf::Rect iconFrame, titleFrame;
    pf::TextAlignment alignment;
    bool iconHidden, titleHidden;
  };
  const Case cases[] = {
      {std::nullopt, "返回", {7, 9.5, 13, 13}, {0, 0, 60, 30}, pf::TextAlignment::center, true, false},
      {"CMN_NAVI_cms_n.png", std::nullopt, {0, 0, 60, 30}, {20, 0, 55, 30}, pf::TextAlignment::left, false, true},
      {"CMN_NAVI_cms_n.png", "课程", {7, 9.5, 13, 13}, {20, 0, 55, 30}, pf::TextAlignment::left, false, false},
  };
  for (const auto& c : cases) {
    auto made = item(c.icon, c.text);
    auto icon = part<pf::ImageView>(*made, CmnNaviBtnItem::kIconTag);
    auto title = part<pf::Label>(*made, CmnNaviBtnItem::kTitleTag);
    EXPECT_EQ(icon->frame(), c.iconFrame) << c.text.value_or("(icon only)");
    EXPECT_EQ(title->frame(), c.titleFrame) << c.text.value_or("(icon only)");
    EXPECT_EQ(title->textAlignment(), c.alignment);
    EXPECT_EQ(icon->isHidden(), c.iconHidden);
    EXPECT_EQ(title->isHidden(), c.titleHidden);
  }
}

TEST_F(CmnNaviBtnItemTest, ABadgeOfZeroHidesAndOtherNumbersShow) {
  auto made = item(std::nullopt, "问答");
  made->setBadgeNumber(5);
  EXPECT_FALSE(made->badgeHidden());
  EXPECT_FALSE(part<pf::View>(*made, CmnNaviBtnItem::kBadgeTag)->isHidden());
  EXPECT_EQ(part<pf::Label>(*made, CmnNaviBtnItem::kBadgeNumberTag)->text(), "5");
  made->setBadgeNumber(0);
  EXPECT_TRUE(part<pf::View>(*made, CmnNaviBtnItem::kBadgeTag)->isHidden());
  EXPECT_EQ(made->badgeNumber(), 0);
}

TEST_F(CmnNaviBtnItemTest, LengthAndHeightMoveTheBadgeAndTheParts) {
  auto made = item("CMN_NAVI_cms_n.png", "课程");
  made->setItemLength(80);
  EXPECT_EQ(made->customView()->frame(), pf::Rect(0, 0, 80, 30));
  EXPECT_EQ(part<pf::View>(*made, CmnNaviBtnItem::kBadgeTag)->frame(), pf::Rect(60, -10, 20, 20));
  EXPECT_EQ(part<pf::Label>(*made, CmnNaviBtnItem::kTitleTag)->frame(), pf::Rect(20, 0, 75, 30));
  made->setWidth(100);
  made->setItemHeight(40);
  EXPECT_EQ(made->customView()->frame(), pf::Rect(10, 0, 80, 40));
  EXPECT_EQ(made->barHeight, 40);
}

// The badge takes a colour by tinting its picture; the colour reads back from the picture's centre.
TEST_F(CmnNaviBtnItemTest, ABadgeColourReadsBackFromThePicture) {
  auto made = item(std::nullopt, "问答");
  const auto before = made->badgeBackgroundColor();
  ASSERT_TRUE(before);
  made->setBadgeColor(pf::Color::fromRgba(0, 0.6, 0.2));
  const auto after = made->badgeBackgroundColor();
  ASSERT_TRUE(after && after->rgba());
  EXPECT_NEAR(after->rgba()->red, 0, 0.02);
  EXPECT_NEAR(after->rgba()->green, 0.6, 0.02);
  EXPECT_NEAR(after->rgba()->blue, 0.2, 0.02);
  EXPECT_NEAR(after->rgba()->alpha, 1, 0.02);
}

}  // namespace
