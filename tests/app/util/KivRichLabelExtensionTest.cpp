#include "app/util/KivRichLabelExtension.h"

#include <gtest/gtest.h>

#include "app/model/blg/Topic.h"
#include "platform/ui/Screen.h"

namespace {

class KivMarkupTest : public ::testing::Test {
 protected:
  void TearDown() override { pf::Screen::configure(pf::Screen::Profile::Phone); }
};

std::string span(const std::string& text, const std::string& size = "18.000000",
                 const std::string& color = "#424242") {
  return "<font size=" + size + " color='" + color + "'>" + text + "</font>";
}

std::string mention(const std::string& name, const std::string& size = "18.000000") {
  return "<a href='" + name + "'><font size=" + size + " color='#005E78'> @" + name + "</font></a>";
}

std::shared_ptr<Topic> topic(const std::string& id, const std::string& title) {
  auto t = std::make_shared<Topic>();
  t->topicId = id;
  t->title = title;
  return t;
}

}  // namespace

// A wrong split, a lost span or an unescaped "<" would make the label show the wrong text or links.
TEST_F(KivMarkupTest, BlogTextsBecomeSpansAndMentionLinks) {
  struct Case {
    const char* name;
    std::optional<std::string> text;
    std::string expected;
  };
  const Case cases[] = {
      {"mention inside", "hi @ann ok", span("hi ") + mention("ann") + span(" ok")},
      {"leading mention", "@ann hi", span("") + mention("ann") + span(" hi")},
      {"chinese mention without space", "你好@林晓_1.x-y！", span("你好") + mention("林晓_1.x-y") + span("！")},
      {"no mention", "plain text", span("plain text")},
      {"lone at", "mail @ me", span("mail @ me")},
      {"empty", "", span("")},
      {"nil", std::nullopt, span("")},
      {"two mentions", "@a@b", span("") + mention("a") + span("") + mention("b") + span("")},
      {"angle brackets escaped", "a<b>c @ann", span("a&lt;b&gt;c ") + mention("ann") + span("")},
  };
  for (const auto& c : cases)
    EXPECT_EQ(KivRichLabelExtension::updateBlgContentStringWithString(c.text, true), c.expected) << c.name;
  EXPECT_EQ(KivRichLabelExtension::updateBlgContentStringWithString("x", false), span("x", "18.000000", "#797979"));
}

TEST_F(KivMarkupTest, ATabletWritesLargerSizes) {
  pf::Screen::configure(pf::Screen::Profile::Tablet);
  EXPECT_EQ(KivRichLabelExtension::updateBlgContentStringWithString("hi @ann", true),
            span("hi ", "30.000000") + mention("ann", "30.000000") + span("", "30.000000"));
  EXPECT_NE(KivRichLabelExtension::blogContentAddTopics({topic("1", "t")}).find("size=28.000000"), std::string::npos);
}

TEST_F(KivMarkupTest, TopicsBecomeChipsEachFollowedByASpace) {
  const std::string chip1 =
      "<a href='topicID:7;Cooking'><font size=16.000000 color='clear' title_color='#CE7322' "
      "background_normal='#D0DBE0' background_highlight='#888888'> Cooking</font></a> ";
  const std::string chip2 =
      "<a href='topicID:8;ab'><font size=16.000000 color='clear' title_color='#CE7322' "
      "background_normal='#D0DBE0' background_highlight='#888888'> a&lt;b&gt;</font></a> ";
  EXPECT_EQ(KivRichLabelExtension::blogContentAddTopics({topic("7", "Cooking"), topic("8", "a<b>")}), chip1 + chip2);
  EXPECT_EQ(KivRichLabelExtension::blogContentAddTopics({}), "");
}

TEST_F(KivMarkupTest, SingleLinkAndPlainSpansWriteTheHashRule) {
  EXPECT_EQ(KivRichLabelExtension::rtHrefStrForTittle("Q<1>", "id<9>", 15, "005E78", "FFFFFF", "#888888"),
            "<a href='id9'><font size=15 color='clear' title_color='#005E78' background_normal='#FFFFFF' "
            "background_highlight='#888888'>Q&lt;1&gt;</font></a>");
  EXPECT_EQ(KivRichLabelExtension::rtNormalStrForTitle(std::nullopt, 14, "#797979"),
            "<font size=14 color='#797979' linebreakmode='wordwrap'></font>");
  EXPECT_EQ(KivRichLabelExtension::rtNormalStrForTitle("a>b", 14, "#797979"),
            "<font size=14 color='#797979' linebreakmode='wordwrap'>a&gt;b</font>");
}
