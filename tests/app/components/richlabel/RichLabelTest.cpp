#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/components/richlabel/RichLabel.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/ImageContext.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"
#include "platform/ui/ScrollView.h"
#include "tests/app/components/ComponentSnapshots.h"
#include "tests/app/components/richlabel/BlogMarkup.h"
#include "tests/platform/ui/UiTest.h"

namespace {

class LinkRecorder : public RichLabelDelegate {
 public:
  void richLabelDidSelectLinkWithURL(RichLabel&, const std::optional<std::string>& url) override {
    heard.push_back("url:" + url.value_or("(none)"));
  }
  void richLabelDidSelectLinkWithContent(RichLabel&, const std::string& content) override {
    heard.push_back(content);
    contents.push_back(content);
  }
  std::vector<std::string> heard;
  std::vector<std::string> contents;
};

class RichLabelTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    window->setBackgroundColor(pf::Color::white());
  }
  std::shared_ptr<RichLabel> labelWith(const std::string& markup, pf::Rect frame) {
    auto label = std::make_shared<RichLabel>(frame);
    label->setText(markup);
    label->setDelegate(recorder);
    // As the blog cells do: the height the text needs at the label's width.
    frame.size.height = label->optimumSize().height;
    label->setFrame(frame);
    return label;
  }
  static std::vector<std::shared_ptr<RichLabelButton>> buttonsOf(const RichLabel& label) {
    std::vector<std::shared_ptr<RichLabelButton>> out;
    for (const auto& view : label.subviews()) {
      if (auto button = std::dynamic_pointer_cast<RichLabelButton>(view)) out.push_back(button);
    }
    return out;
  }
  static pf::Point middleOf(const pf::View& view) {
    const pf::Rect r = view.convertRectToView(view.bounds(), nullptr);
    return {r.midX(), r.midY()};
  }
  // Pixels of the last rendering inside a window rect that are near the colour.
  int countNear(pf::HeadlessHost& host, const pf::Rect& area, int r, int g, int b, int slack = 30) {
    int count = 0;
    for (double y = area.minY(); y < area.maxY(); y += 0.5)
      for (double x = area.minX(); x < area.maxX(); x += 0.5) count += pixelNear(host.pixelAt({x, y}), r, g, b, slack);
    return count;
  }

  std::shared_ptr<LinkRecorder> recorder = std::make_shared<LinkRecorder>();
  pf::HeadlessHost host{window};
};

TEST_F(RichLabelTest, DefaultsAndWhichSettersRedisplay) {
  auto label = std::make_shared<RichLabel>(pf::Rect{0, 0, 200, 40});
  EXPECT_EQ(label->font()->pointSize(), 15);
  EXPECT_FLOAT_EQ(label->lineSpacing(), 3);
  EXPECT_EQ(label->currentSelectedButtonComponentIndex(), -1);
  EXPECT_EQ(label->paragraphReplacement(), "\n");
  EXPECT_EQ(label->text(), "");
  EXPECT_EQ(label->backgroundColor(), pf::Color::clear());
  EXPECT_TRUE(label->isMultipleTouchEnabled());
  EXPECT_EQ(label->optimumSize(), pf::Size(0, 0)) << "no plain text yet: nothing laid out";
  window->addSubview(label);
  label->setText("a<br>b");
  EXPECT_EQ(label->text(), "a\nb");
  host.render();
  EXPECT_FALSE(label->layer()->needsDisplay());
  label->setTextColor(pf::Color::red());
  label->setFont(pf::Font::systemFont(20));
  label->setParagraphReplacement(" ");
  EXPECT_FALSE(label->layer()->needsDisplay()) << "colour, font and replacement only store";
  label->setLineSpacing(5);
  EXPECT_TRUE(label->layer()->needsDisplay());
  host.render();
  label->setHighlighted(false);
  EXPECT_FALSE(label->layer()->needsDisplay()) << "an unchanged highlight does not redisplay";
  label->setHighlightedText("<b>x</b>");
  EXPECT_FALSE(label->layer()->needsDisplay());
  EXPECT_EQ(label->plainText(), "a\nb") << "the highlighted text leaves the plain text";
  label->setHighlighted(true);
  EXPECT_TRUE(label->layer()->needsDisplay());
}

TEST_F(RichLabelTest, LayoutOutsideDrawingMakesButtonsAndSizes) {
  auto label = labelWith(blog_markup::content("hi @ann and @bob ok") + blog_markup::topics({{"1", "Go"}}),
                         {10, 100, 300, 0});
  EXPECT_GT(label->frame().size.height, 15);
  EXPECT_LE(label->optimumSize().width, 300);
  EXPECT_EQ(buttonsOf(*label).size(), 3u) << "two mentions and a chip, no drawing needed";
  EXPECT_EQ(label->visibleText(), *label->plainText()) << "the optimum size shows everything";
  auto empty = labelWith("", {0, 0, 300, 0});
  EXPECT_EQ(buttonsOf(*empty).size(), 0u);
  EXPECT_EQ(empty->optimumSize().width, 0);
}

TEST_F(RichLabelTest, BlogRowsOnPhoneAndTabletDrawUncutAndAMentionTapReportsItOnce) {
  for (const bool tablet : {false, true}) {
    SCOPED_TRACE(tablet ? "tablet" : "phone");
    pf::Screen::configure(tablet ? pf::Screen::Profile::Tablet : pf::Screen::Profile::Phone);
    window = std::make_shared<pf::Window>();
    window->makeKeyAndVisible();
    window->setBackgroundColor(pf::Color::white());
    pf::HeadlessHost screenHost(window);
    const double width = pf::Screen::mainScreen().bounds().size.width;
    auto list = std::make_shared<pf::ScrollView>(pf::Screen::mainScreen().bounds());
    window->addSubview(list);
    const std::vector<std::string> texts{"早上好 @ann，今天一起学习《数据结构》吧", "1 < 2 and @bob agrees > 0",
                                         "@carol_li.x 读完了第三章", "a long line with no mention at all, just words"};
    double y = 0;
    std::vector<std::shared_ptr<RichLabel>> rows;
    for (int i = 0; i < 50; ++i) {
      const std::string markup = blog_markup::content(texts[i % texts.size()], tablet) +
                                 (i % 3 == 0 ? blog_markup::topics({{"3", "算法"}, {"4", "Go"}}, tablet) : "");
      auto row = labelWith(markup, {10, y + 5, width - 20, 0});
      list->addSubview(row);
      rows.push_back(row);
      y = row->frame().maxY() + 5;
      EXPECT_EQ(row->visibleText(), *row->plainText()) << "row " << i << " is cut";
    }
    list->setContentSize({width, y});
    screenHost.render();
    keepSnapshot(screenHost, tablet ? "richlabel_blog_rows_tablet.png" : "richlabel_blog_rows_phone.png");
    // "1 < 2" shows literally, and the escaped text hides no link after it.
    EXPECT_EQ(*rows[1]->plainText(), "1 < 2 and  @bob agrees > 0");
    ASSERT_EQ(buttonsOf(*rows[1]).size(), 1u);
    auto mention = buttonsOf(*rows[0]).at(0);
    screenHost.tap(middleOf(*mention));
    screenHost.advance(0.5);
    EXPECT_EQ(recorder->heard, (std::vector<std::string>{"url:ann", "ann"})) << "the URL first, then the content";
    recorder->heard.clear();
    recorder->contents.clear();
  }
}

TEST_F(RichLabelTest, TopicChipsShowOnlyTheirButtons) {
  auto label = labelWith(blog_markup::topics({{"12", "Music"}, {"13", "Art"}}), {20, 60, 280, 0});
  window->addSubview(label);
  host.render();
  keepSnapshot(host, "richlabel_chips_phone.png");
  const auto buttons = buttonsOf(*label);
  ASSERT_EQ(buttons.size(), 2u);
  EXPECT_EQ(buttons[0]->titleForState(pf::Control::kNormal), "Music") << "title without its leading space";
  EXPECT_EQ(buttons[0]->titleColorForState(pf::Control::kNormal), pf::Color::fromRgba(0xCE / 255.0, 0x73 / 255.0, 0x22 / 255.0));
  EXPECT_EQ(buttons[0]->titleColorForState(pf::Control::kHighlighted), buttons[0]->titleColorForState(pf::Control::kNormal));
  EXPECT_TRUE(buttons[0]->backgroundImageForState(pf::Control::kNormal));
  EXPECT_FALSE(buttons[0]->backgroundImageForState(pf::Control::kHighlighted)) << "only one background is used";
  EXPECT_EQ(buttons[0]->titleLabel()->font()->pointSize(), 16);
  EXPECT_EQ(buttons[1]->linkConent, "topicID:13;Art");
  const pf::Rect chip = buttons[0]->convertRectToView(buttons[0]->bounds(), nullptr);
  EXPECT_GT(countNear(host, chip, 0xD0, 0xDB, 0xE0, 8), 40) << "the chip's background";
  EXPECT_GT(countNear(host, chip, 0xCE, 0x73, 0x22, 40), 3) << "the chip's title colour";
  EXPECT_EQ(countNear(host, chip, 0, 0, 0, 60), 0) << "no glyph of the chip text in the label's black";
  host.tap(middleOf(*buttons[1]));
  host.advance(0.5);
  EXPECT_EQ(recorder->contents, (std::vector<std::string>{"topicID:13;Art"}));
}

// Fault caught: a chip whose label was drawn again (a row laid out anew) showed its grey background
// without its title: the buttons made while drawing were never laid out.
TEST_F(RichLabelTest, ChipsDrawnAgainKeepTheirTitles) {
  auto label = labelWith(blog_markup::topics({{"7", "新员工培训"}}), {20, 60, 280, 0});
  window->addSubview(label);
  for (int drawing = 0; drawing < 3; ++drawing) {
    SCOPED_TRACE(drawing);
    label->setNeedsDisplay();
    host.render();
    const auto buttons = buttonsOf(*label);
    ASSERT_EQ(buttons.size(), 1u);
    const pf::Rect chip = buttons[0]->convertRectToView(buttons[0]->bounds(), nullptr);
    EXPECT_GT(countNear(host, chip, 0xCE, 0x73, 0x22, 40), 20) << "the chip's title";
  }
}

TEST_F(RichLabelTest, AWrappedLinkTapsOnlyOnItsSecondLine) {
  std::shared_ptr<RichLabel> label;
  for (int words = 1; words < 40 && !label; ++words) {
    std::string text;
    for (int i = 0; i < words; ++i) text += "word ";
    auto candidate = labelWith(blog_markup::content(text + "@annabelle_longname tail"), {10, 80, 200, 0});
    candidate->optimumSize();
    const auto buttons = buttonsOf(*candidate);
    if (buttons.size() == 1 && buttons[0]->frame().minY() > 5 && buttons[0]->frame().minX() < 5) label = candidate;
  }
  ASSERT_TRUE(label) << "no text wrapped the mention";
  window->addSubview(label);
  host.render();
  const auto button = buttonsOf(*label).at(0);
  const pf::Rect line2 = button->convertRectToView(button->bounds(), nullptr);
  // The link's start at the end of the first line takes no tap.
  host.tap({label->frame().minX() + 196, label->frame().minY() + line2.minY() - label->frame().minY() - 10});
  host.advance(0.5);
  EXPECT_TRUE(recorder->contents.empty());
  host.tap(middleOf(*button));
  host.advance(0.5);
  EXPECT_EQ(recorder->contents, (std::vector<std::string>{"annabelle_longname"}));
}

TEST_F(RichLabelTest, HeldLinkIsBoldRedAndKeepsItsButtonsUntilTheTouchEnds) {
  auto label = labelWith(blog_markup::content("see @ann now") + "<a href='x'>plain link</a>", {10, 60, 300, 0});
  label->setLinkAttributes(std::nullopt);
  window->addSubview(label);
  host.render();
  auto buttons = buttonsOf(*label);
  ASSERT_EQ(buttons.size(), 2u);
  const pf::Rect plainLink = buttons[1]->convertRectToView(buttons[1]->bounds(), nullptr);
  EXPECT_EQ(countNear(host, plainLink, 255, 0, 0, 60), 0) << "not pressed: no red";
  buttons[1]->sendActionsForControlEvents(pf::Control::kTouchDown);
  host.render();
  keepSnapshot(host, "richlabel_pressed_link_phone.png");
  EXPECT_GT(countNear(host, plainLink, 255, 0, 0, 60), 10) << "pressed: bold red";
  EXPECT_EQ(buttonsOf(*label), buttons) << "a layout while pressed keeps the buttons";
  buttons[1]->sendActionsForControlEvents(pf::Control::kTouchCancel);
  EXPECT_EQ(label->currentSelectedButtonComponentIndex(), -1) << "a cancelled touch releases the link";
  host.render();
  EXPECT_EQ(countNear(host, plainLink, 255, 0, 0, 60), 0);
}

TEST_F(RichLabelTest, ScrollCancelledPressThenReuseReportsTheNewLink) {
  // A list starts scrolling while a finger rests on a link: the link's touch is cancelled. The row
  // is then reused for another post, whose link must be the one a tap reports.
  auto list = std::make_shared<pf::ScrollView>(pf::Rect{0, 0, 320, 480});
  list->setContentSize({320, 2000});
  window->addSubview(list);
  auto label = labelWith(blog_markup::content("hello @ann"), {10, 100, 300, 0});
  list->addSubview(label);
  host.render();
  const pf::Point link = middleOf(*buttonsOf(*label).at(0));
  host.drag({link, link, link, link, {link.x, link.y - 150}}, 1.2);
  host.advance(1.0);
  EXPECT_TRUE(recorder->contents.empty());
  EXPECT_EQ(label->currentSelectedButtonComponentIndex(), -1);
  list->setContentOffset({0, 0});
  label->setText(blog_markup::content("now @bob here"));
  host.render();
  const auto buttons = buttonsOf(*label);
  ASSERT_EQ(buttons.size(), 1u);
  host.tap(middleOf(*buttons[0]));
  host.advance(0.5);
  EXPECT_EQ(recorder->contents, (std::vector<std::string>{"bob"}));
}

TEST_F(RichLabelTest, LinkSettingsOfEarlierTextsStayWithTheLabel) {
  auto label = labelWith(blog_markup::topics({{"1", "Go"}}), {0, 0, 300, 0});
  label->setText("<a href='y'>later link</a>");
  label->optimumSize();
  const auto buttons = buttonsOf(*label);
  ASSERT_EQ(buttons.size(), 1u);
  EXPECT_EQ(buttons[0]->titleForState(pf::Control::kNormal), "later link") << "the chip's title colour still applies";
  EXPECT_TRUE(buttons[0]->backgroundImageForState(pf::Control::kNormal));
  EXPECT_EQ(label->linkSettings().titleFont, "16.000000");
}

// What a label shows: its optimum size, its buttons, its visible text and its drawing.
struct RichLabelLook {
  pf::Size optimum;
  std::vector<pf::Rect> buttons;
  std::string visible;
  std::vector<std::uint8_t> png;
  bool operator==(const RichLabelLook&) const = default;
};

RichLabelLook richLabelLookOf(RichLabel& label) {
  RichLabelLook look;
  look.optimum = label.optimumSize();
  for (const auto& view : label.subviews()) look.buttons.push_back(view->frame());
  look.visible = label.visibleText();
  auto canvas = pf::ImageContext::create(label.frame().size);
  label.render(&canvas->context());
  look.png = canvas->image()->pngData().value_or(std::vector<std::uint8_t>{});
  return look;
}

// The label keeps its laid-out text between a size query and the drawing. Faults caught: a change of
// text, size or of a setting that styles the text leaving the label showing the old layout.
TEST_F(RichLabelTest, AKeptLayoutFollowsEveryChangeThatRestylesTheText) {
  const std::string markup = blog_markup::content("see @ann about the course on data structures this week") +
                             "then <b>read</b> on, <a href='x'>plain link</a>" +
                             blog_markup::topics({{"1", "Go"}});
  const struct {
    const char* what;
    std::function<void(RichLabel&)> change;
  } cases[] = {
      {"text", [](RichLabel& l) { l.setText(blog_markup::content("now @bob here")); }},
      {"parsed text", [](RichLabel& l) { l.parse("<b>other</b> words", {"b"}); }},
      {"width", [](RichLabel& l) { l.setFrame({0, 0, 150, l.frame().size.height}); }},
      {"height", [](RichLabel& l) { l.setFrame({0, 0, 220, 12}); }},
      {"font", [](RichLabel& l) { l.setFont(pf::Font::systemFont(22)); }},
      {"text colour", [](RichLabel& l) { l.setTextColor(pf::Color::red()); }},
      {"alignment", [](RichLabel& l) { l.setTextAlignment(2); }},
      {"line break mode", [](RichLabel& l) { l.setLineBreakMode(4); }},
      {"line spacing", [](RichLabel& l) { l.setLineSpacing(12); }},
      {"link attributes",
       [](RichLabel& l) { l.setLinkAttributes(RichLabelComponent::Attributes{{"size", "30"}}); }},
      {"highlighted", [](RichLabel& l) {
         l.setHighlightedText("<b>bold</b> highlighted words");
         l.setHighlighted(true);
       }},
  };
  const auto labelOf = [&](double height) {
    auto label = std::make_shared<RichLabel>(pf::Rect{0, 0, 220, height});
    label->setText(markup);
    return label;
  };
  const double height = labelOf(0)->optimumSize().height;
  const RichLabelLook before = richLabelLookOf(*labelOf(height));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto laidOutFirst = labelOf(height);
    richLabelLookOf(*laidOutFirst);
    c.change(*laidOutFirst);
    auto changedFirst = labelOf(height);
    c.change(*changedFirst);
    const RichLabelLook expected = richLabelLookOf(*changedFirst);
    EXPECT_FALSE(expected == before) << "the change shows";
    EXPECT_TRUE(richLabelLookOf(*laidOutFirst) == expected);
  }
}

TEST_F(RichLabelTest, MentionInsideASizedFontIsRegularAtThatSize) {
  auto label = labelWith(blog_markup::content("@ann"), {0, 0, 300, 0});
  pf::AttributedString styled(*label->plainText());
  RichLabelStyler::LinkSettings links;
  RichLabelStyler::Base base;
  base.font = pf::Font::systemFont(15);
  RichLabelStyler(base, links).style(styled, label->textComponents());
  const auto& font = styled.attributesAt(2).font;
  EXPECT_EQ(font->pointSize(), 18);
  EXPECT_FALSE(font->isBold());
  pf::AttributedString linkOnly("abc");
  const auto links2 = RichLabelStyler(base, links).style(
      linkOnly, RichLabel::extractTextStyleFromText("<a href='q'>abc</a>", "\n")->textComponents);
  EXPECT_TRUE(linkOnly.attributesAt(1).font->isBold());
  EXPECT_EQ(links2.size(), 1u);
  EXPECT_EQ(links2[0]->attributes.at("href"), "q") << "quotes removed from the href";
}

}  // namespace
