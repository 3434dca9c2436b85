#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/components/richlabel/RichLabel.h"
#include "app/components/richlabel/RichLabelColor.h"
#include "app/components/richlabel/RichLabelMarkupParser.h"

namespace {

constexpr int kNotFound = RichLabelComponent::kNotFound;

// One expected span: tag, position, text (nullopt while open) and some attributes.
struct SpanWant {
  std::string tag;
  int position;
  std::optional<std::string> text;
  RichLabelComponent::Attributes attributes = {};
};

struct ParseCase {
  const char* name;
  std::string markup;
  std::string plain;
  std::vector<SpanWant> spans;
};

std::string contentRun(const std::string& text) {
  return "<font size=18.000000 color='#424242'>" + text + "</font>";
}

std::string mention(const std::string& name) {
  return "<a href='" + name + "'><font size=18.000000 color='#005E78'> @" + name + "</font></a>";
}

std::string chip(const std::string& id, const std::string& title) {
  return "<a href='topicID:" + id + ";" + title +
         "'><font size=16.000000 color='clear' title_color='#CE7322' background_normal='#D0DBE0' "
         "background_highlight='#888888'> " +
         title + "</font></a> ";
}

TEST(RichLabelMarkupParserTest, ParsesEveryFormAndEdgeOfTheMarkup) {
  const RichLabelComponent::Attributes chipFont{{"size", "16.000000"},
                                                {"color", "'clear'"},
                                                {"title_color", "'#CE7322'"},
                                                {"background_normal", "'#D0DBE0'"},
                                                {"background_highlight", "'#888888'"}};
  const ParseCase cases[] = {
      {"content then mention",
       "<font size=18.000000 color='#424242'>Hello </font><a href='bob'><font size=18.000000 color='#005E78'> "
       "bob</font></a>",
       "Hello  bob",
       {{"font", 0, "Hello ", {{"size", "18.000000"}, {"color", "'#424242'"}}},
        {"a", 6, " bob", {{"href", "'bob'"}}},
        {"font", 6, " bob", {{"size", "18.000000"}, {"color", "'#005E78'"}}}}},
      {"topic chip", chip("12", "Music"), " Music ", {{"a", 0, " Music", {{"href", "'topicID:12;Music'"}}},
                                                      {"font", 0, " Music", chipFont}}},
      {"chip title with = and spaces kept whole in the href",
       "<a href='topicID:7;a=b c'>x</a>",
       "x",
       {{"a", 0, "x", {{"href", "'topicID:7;a=b c'"}}}}},
      {"capital A HREF is an ordinary tag", "<A HREF='x'>t</A>", "t", {{"A", 0, "t", {{"href", "'x'"}}}}},
      {"other break forms vanish", "a<BR>b<br/>c", "abc", {{"BR", 1, std::nullopt}, {"br/", 2, std::nullopt},
                                                           {"br/", kNotFound, std::nullopt}}},
      {"p tag leaves the replacement", "x<p align=center>y</p>z", "x\nyz", {{"p", 1, "\ny", {{"align", "center"}}}}},
      {"capital P gives no replacement", "x<P>y</P>z", "xyz", {{"P", 1, "y"}}},
      {"entities decoded once, an ampersand entity stays",
       contentRun("a &lt;b&gt; &amp; c"),
       "a <b> &amp; c",
       {{"font", 0, "a <b> &amp; c"}}},
      {"no tag: entities as written", "1 &lt; 2", "1 &lt; 2", {}},
      {"white space only: no pass", "  \n\t ", "  \n\t ", {}},
      {"ends with a start tag: a second, unfound span", "x<b>", "x", {{"b", 1, std::nullopt}, {"b", kNotFound, std::nullopt}}},
      {"same name closes in reverse", "<b>x<b>y</b>z</b>", "xyz", {{"b", 0, "xyz"}, {"b", 1, "y"}}},
      {"crossed tags", "<b>a<i>b</b>c</i>", "abc", {{"b", 0, "ab"}, {"i", 1, "bc"}}},
      {"end tag in another case does not close", "<b>x</B>", "x", {{"b", 0, std::nullopt}}},
      {"a > without < is text", "a>b<b>c</b>", "a>bc", {{"b", 3, "c"}}},
      {"a < without > stays visible", "a < b", "a < b", {{"", kNotFound, std::nullopt, {{"b", "b"}}}}},
      {"I <3 you: the run stays open and a span named 3 follows",
       contentRun("I <3 you"),
       "I ",
       {{"font", 0, std::nullopt},
        {"3", 2, std::nullopt, {{"you</font", "you</font"}}},
        {"3", kNotFound, std::nullopt, {{"you</font", "you</font"}}}}},
      {"double quotes and empty values", "<font color=\"red\" x= y=\"\" z=\" k>t</font>", "t",
       {{"font", 0, "t", {{"color", "red"}, {"x", ""}, {"y", ""}, {"z", ""}, {"k", "k"}}}}},
      {"positions count UTF-16 units", contentRun("你好😀 ") + mention("ann"), "你好😀  @ann",
       {{"font", 0, "你好😀 "}, {"a", 5, " @ann"}, {"font", 5, " @ann"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto parsed = RichLabel::extractTextStyleFromText(c.markup, "\n");
    EXPECT_EQ(parsed->plainText, c.plain);
    ASSERT_EQ(parsed->textComponents.size(), c.spans.size());
    for (std::size_t i = 0; i < c.spans.size(); ++i) {
      const auto& got = *parsed->textComponents[i];
      const auto& want = c.spans[i];
      EXPECT_EQ(got.tagLabel, want.tag) << i;
      EXPECT_EQ(got.position, want.position) << i;
      EXPECT_EQ(got.text, want.text) << i;
      EXPECT_EQ(got.componentIndex, 0);
      for (const auto& [key, value] : want.attributes) EXPECT_EQ(got.attributes.at(key), value) << key;
    }
  }
}

TEST(RichLabelMarkupParserTest, EscapedUserTextShowsLiterallyAndLaterChipsStillWork) {
  // The markup builder escapes "<" and ">" of user text; such text must never close or open a span.
  const std::string markup = contentRun("x &lt;/font&gt; &lt;a href=x&gt; y") + mention("ann") + chip("3", "Art") +
                             chip("4", "Go");
  const auto parsed = RichLabel::extractTextStyleFromText(markup, "\n");
  EXPECT_EQ(parsed->plainText, "x </font> <a href=x> y @ann Art  Go ");
  ASSERT_EQ(parsed->textComponents.size(), 7u);
  EXPECT_EQ(parsed->textComponents[0]->text, "x </font> <a href=x> y");
  const std::vector<std::pair<int, std::string>> links{{22, " @ann"}, {27, " Art"}, {32, " Go"}};
  for (std::size_t i = 0; i < links.size(); ++i) {
    const auto& link = *parsed->textComponents[1 + i * 2];
    EXPECT_EQ(link.tagLabel, "a");
    EXPECT_EQ(link.position, links[i].first);
    EXPECT_EQ(link.text, links[i].second);
  }
}

TEST(RichLabelMarkupParserTest, LineBreakStepTakesOnlyTheExactForm) {
  EXPECT_EQ(RichLabelMarkupParser::applyLineBreaks("a<br>b<BR>c<br/>d<br >"), "a\nb<BR>c<br/>d<br >");
}

TEST(RichLabelMarkupParserTest, StrippingParserKeepsValidTagsAndSpansTheTextBetween) {
  RichLabel label;
  label.parse("<b>bold</b> and <i>it</i>", {"i"});
  EXPECT_EQ(label.plainText(), "bold and <i>it</i>");
  ASSERT_EQ(label.textComponents().size(), 2u);
  EXPECT_EQ(label.textComponents()[0]->text, "");
  EXPECT_FALSE(label.textComponents()[0]->tagLabel);
  EXPECT_EQ(label.textComponents()[1]->text, "bold");
  EXPECT_EQ(label.textComponents()[1]->tagLabel, "b");

  label.parse("<font color=red>x</font>y", {});
  ASSERT_EQ(label.textComponents().size(), 3u);
  EXPECT_EQ(label.textComponents()[1]->attributes.at("color"), "red") << "attributes of the tag before";
  EXPECT_EQ(label.plainText(), "xy");
}

TEST(RichLabelMarkupParserTest, ComponentsCutTheTextAroundWebAddresses) {
  RichLabel label;
  label.setText("see http://a.b/c, and https://x.y");
  EXPECT_EQ(label.components(), (std::vector<std::string>{"see ", "http://a.b/c", ", and ", "https://x.y"}));
  label.setText("http://only.one now");
  EXPECT_EQ(label.components(), (std::vector<std::string>{"http://only.one", " now"}));
}

TEST(RichLabelMarkupParserTest, ColourReaders) {
  const auto grey = RichLabel::colorForHex(" 424242ff\n");
  EXPECT_DOUBLE_EQ(grey[0], 66 / 255.0);
  EXPECT_DOUBLE_EQ(grey[2], 66 / 255.0);
  EXPECT_DOUBLE_EQ(grey[3], 1.0);
  EXPECT_DOUBLE_EQ(RichLabel::colorForHex("ce7322")[0], 0xCE / 255.0);
  for (const char* odd : {"", "1", "zzzzzz", "#"}) {
    const auto rgba = RichLabel::colorForHex(odd);
    EXPECT_DOUBLE_EQ(rgba[3], 1.0) << odd;
  }
  struct ButtonColour {
    const char* value;
    pf::Color want;
  };
  const ButtonColour buttons[] = {
      {"#FFF", pf::Color::fromRgba(0, 15 / 255.0, 1)},
      {"#D0DBE0", pf::Color::fromRgba(0xD0 / 255.0, 0xDB / 255.0, 0xE0 / 255.0)},
      {"#", pf::Color::white()},
      {"#zz", pf::Color::white()},
      {"clear", pf::Color::clear()},
      {"nonsense", pf::Color::white()},
      {"", pf::Color::white()},
  };
  for (const auto& b : buttons) EXPECT_EQ(RichLabel::applyColorWithValue(b.value), b.want) << b.value;
  EXPECT_EQ(RichLabelColor::textColor("#424242"), pf::Color::fromRgba(66 / 255.0, 66 / 255.0, 66 / 255.0));
  EXPECT_EQ(RichLabelColor::textColor("darkGray"), pf::Color::darkGray());
  EXPECT_FALSE(RichLabelColor::textColor("Clear"));
}

}  // namespace
