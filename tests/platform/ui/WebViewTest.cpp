#include "platform/ui/WebView.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>
#include <string>
#include <vector>

#include "platform/foundation/Error.h"
#include "platform/foundation/Utf8.h"
#include "platform/host/HeadlessHost.h"
#include "platform/text/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"
#include "tests/platform/ui/UiTest.h"
#include "tools/devserver/Answers.h"
#include "tools/devserver/DevServer.h"

namespace {

using pf::WebView;
using Kind = WebView::Block::Kind;

class PageLog : public pf::WebViewDelegate {
 public:
  bool shouldStartLoadWithRequest(WebView&, const std::string& url, NavigationType type) override {
    events.push_back("should " + url);
    types.push_back(type);
    return allow;
  }
  void webViewDidStartLoad(WebView& web) override {
    events.push_back(std::string("start") + (web.isLoading() ? " loading" : ""));
  }
  void webViewDidFinishLoad(WebView& web) override {
    events.push_back("finish " + web.stringByEvaluatingJavaScriptFromString("document.title"));
  }
  void didFailLoadWithError(WebView&, const pf::Error& error) override {
    events.push_back("fail " + std::to_string(error.code()));
  }
  std::vector<std::string> events;
  std::vector<NavigationType> types;
  bool allow = true;
};

class WebViewTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    web = std::make_shared<WebView>(pf::Rect(0, 0, 320, 400));
    web->setDelegate(log);
    window->addSubview(web);
  }
  std::shared_ptr<PageLog> log = std::make_shared<PageLog>();
  std::shared_ptr<WebView> web;
};

constexpr char kPage[] =
    "<html><head><title>第一章</title><script>alert('x')</script></head>"
    "<body><h1>Unit  one</h1><p>First\n   line<br>second line</p>"
    "<ul><li>alpha</li><li>beta <img src='b.png' alt='[chart]'></li></ul>"
    "<script>document.write('no')</script><div>end</div></body></html>";

TEST_F(WebViewTest, AStringLoadsAfterTheDelegateAgreesThenStartsAndFinishes) {
  web->loadHTMLString(kPage, "http://127.0.0.1/lecture/");
  EXPECT_EQ(log->events, (std::vector<std::string>{"should http://127.0.0.1/lecture/"}));
  EXPECT_TRUE(web->isLoading());
  drain();
  EXPECT_EQ(log->events,
            (std::vector<std::string>{"should http://127.0.0.1/lecture/", "start loading", "finish 第一章"}));
  EXPECT_FALSE(web->isLoading());
  EXPECT_EQ(web->stringByEvaluatingJavaScriptFromString("document.body.innerHTML"),
            "<h1>Unit  one</h1><p>First\n   line<br>second line</p>"
            "<ul><li>alpha</li><li>beta <img src=\"b.png\" alt=\"[chart]\"></li></ul>"
            "<script>document.write('no')</script><div>end</div>");
  EXPECT_EQ(web->stringByEvaluatingJavaScriptFromString("alert(1)"), "");

  const std::vector<std::pair<Kind, std::string>> expected = {{Kind::Heading, "Unit one"},
                                                              {Kind::Paragraph, "First line\nsecond line"},
                                                              {Kind::ListItem, "\u2022 alpha"},
                                                              {Kind::ListItem, "\u2022 beta [chart]"},
                                                              {Kind::Paragraph, "end"}};
  ASSERT_EQ(web->blocks().size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(web->blocks()[i].kind, expected[i].first);
    EXPECT_EQ(web->blocks()[i].text, expected[i].second);
  }
  EXPECT_EQ(web->scrollView()->subviews().size(), expected.size());
  EXPECT_GT(web->scrollView()->contentSize().height, 100);
}

TEST_F(WebViewTest, RefusedStoppedAndFailedLoads) {
  log->allow = false;
  web->loadHTMLString(kPage, "");
  drain();
  EXPECT_EQ(log->events, (std::vector<std::string>{"should about:blank"}));
  EXPECT_FALSE(web->isLoading());

  log->allow = true;
  log->events.clear();
  web->loadHTMLString(kPage, "");
  web->stopLoading();
  drain();
  EXPECT_EQ(log->events, (std::vector<std::string>{"should about:blank"}));

  const auto folder = std::filesystem::temp_directory_path() / "webview-test";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "page.html") << "<title>From disk</title><p>hello</p>";
  std::ofstream(folder / "huge.html") << "<p>";
  std::filesystem::resize_file(folder / "huge.html", (8u << 20) + 1);
  const struct {
    std::string url;
    std::string last;
  } cases[] = {
      {"file://" + (folder / "page.html").string(), "finish From disk"},
      {"file://" + (folder / "missing.html").string(), "fail -1100"},
      {"ftp://127.0.0.1/page.html", "fail -1002"},
      // Local loads read regular files of a bounded size only.
      {"file://" + folder.string(), "fail -1101"},
      {"file:///dev/zero", "fail -1102"},
      {"file://" + (folder / "huge.html").string(), "fail -1103"},
  };
  for (const auto& c : cases) {
    log->events.clear();
    web->loadRequest(c.url);
    drain();
    ASSERT_EQ(log->events.size(), 3u) << c.url;
    EXPECT_EQ(log->events[1], "start loading");
    EXPECT_EQ(log->events[2], c.last);
  }
  std::filesystem::remove_all(folder);
}

TEST_F(WebViewTest, ScalingThePageToFitSetsItsTextSmallerButNotItsHeadings) {
  std::string page = "<h1>Unit</h1>";
  for (int i = 0; i < 6; ++i) page += "<p>A paragraph long enough to wrap over several lines of the page.</p>";
  double heights[2] = {};
  for (bool scales : {false, true}) {
    web->setScalesPageToFit(scales);
    web->loadHTMLString(page, "");
    drain();
    web->layoutIfNeeded();
    const auto& views = web->scrollView()->subviews();
    ASSERT_EQ(views.size(), 7u);
    auto heading = std::dynamic_pointer_cast<pf::Label>(views[0]);
    auto text = std::dynamic_pointer_cast<pf::Label>(views[1]);
    ASSERT_TRUE(heading && text);
    EXPECT_EQ(heading->font()->pointSize(), 24) << scales;
    EXPECT_EQ(text->font()->pointSize(), scales ? 14 : 16) << scales;
    EXPECT_LE(text->frame().maxX(), 320) << "the text wraps within the width";
    heights[scales] = web->scrollView()->contentSize().height;
  }
  EXPECT_LT(heights[1], heights[0]);
}

// A block inside a link ends the block: each part of the link's text is linked in its own block, on
// whole characters; broken UTF-8 reads as U+FFFD.
TEST_F(WebViewTest, LinkRangesStayOnTheirTextAcrossBlocksAndBrokenBytes) {
  web->loadHTMLString("<div>éé abc<a href=\"h\">x<div>y</div>😀😀</a></div>"
                      "<p>a\xff\xfe b <a href=\"g\">\xc3z</a></p>",
                      "");
  drain();
  ASSERT_EQ(web->blocks().size(), 4u);
  const struct {
    std::string text;
    pf::utf16::Range range;
  } expected[] = {{"éé abcx", {6, 1}}, {"y", {0, 1}}, {"😀😀", {0, 4}}};
  for (std::size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(web->blocks()[i].text, expected[i].text);
    ASSERT_EQ(web->blocks()[i].links.size(), 1u);
    EXPECT_EQ(web->blocks()[i].links[0].range, expected[i].range);
    EXPECT_EQ(web->blocks()[i].links[0].href, "h");
  }
  const std::string& broken = web->blocks()[3].text;
  for (std::size_t pos = 0; pos < broken.size();) {
    const auto c = pf::utf8::decode(broken, pos);
    EXPECT_TRUE(c.codePoint != pf::utf8::kReplacementCharacter || broken.compare(pos, 3, "\xEF\xBF\xBD") == 0)
        << "a broken byte at " << pos;
    pos += c.size;
  }
  ASSERT_EQ(web->blocks()[3].links.size(), 1u);
  const auto link = web->blocks()[3].links[0].range;
  EXPECT_LE(link.location + link.length, pf::utf16::length(broken));
}

class WebLinkTest : public WebViewTest {
 protected:
  void SetUp() override {
    WebViewTest::SetUp();
    folder = std::filesystem::temp_directory_path() / ("webview-links-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder / "more");
    std::ofstream(folder / "more" / "next.html") << "<title>Next</title><p>there</p>";
    std::ofstream(folder / "index.html")
        << "<title>Index</title>"
           "<p><a href='more/next.html#part'>Next page, next page</a></p>"
           "<p>Plain words with no link at all in them</p>"
           "<p><a href='#top'>Back to the top of the page</a></p>"
           "<p><a href='http://127.0.0.1:1/away'>Away from the files</a></p>"
           "<ul><li>Read this, then <a href='more/next.html'>go on</a></li></ul>";
    web->loadRequest(url("index.html"));
    drain();
    web->layoutIfNeeded();
    log->events.clear();
    log->types.clear();
  }
  void TearDown() override {
    std::filesystem::remove_all(folder);
    WebViewTest::TearDown();
  }
  std::string url(const std::string& name) const { return "file://" + (folder / name).string(); }
  // A point on the first characters of a block, in the window.
  pf::Point onBlock(size_t index) const {
    const auto frame = web->scrollView()->subviews()[index]->frame();
    return {frame.minX() + 15, frame.minY() + 8};
  }
  std::filesystem::path folder;
};

TEST_F(WebLinkTest, ALinksTextAndAddressAreKeptWithItsBlock) {
  ASSERT_EQ(web->blocks().size(), 5u);
  ASSERT_EQ(web->blocks()[0].links.size(), 1u);
  EXPECT_EQ(web->blocks()[0].links[0].range, (pf::utf16::Range{0, 20}));
  EXPECT_EQ(web->blocks()[0].links[0].href, "more/next.html#part");
  EXPECT_TRUE(web->blocks()[1].links.empty());
  // "• Read this, then go on": after the bullet.
  ASSERT_EQ(web->blocks()[4].links.size(), 1u);
  EXPECT_EQ(web->blocks()[4].links[0].range, (pf::utf16::Range{18, 5}));
  const struct {
    std::string href, resolved;
  } cases[] = {
      {"more/next.html#part", url("more/next.html")},
      {"#top", ""},
      {"/etc/page.html", "file:///etc/page.html"},
      {"http://127.0.0.1:1/away", "http://127.0.0.1:1/away"},
  };
  for (const auto& c : cases) EXPECT_EQ(web->resolveLink(c.href), c.resolved) << c.href;
}

TEST_F(WebLinkTest, ATappedLinkAsksTheDelegateThenLoads) {
  const struct {
    const char* what;
    size_t block;
    bool allow;
    std::vector<std::string> events;
    std::string loaded;
  } cases[] = {
      {"allowed", 0, true, {"should " + url("more/next.html"), "start loading", "finish Next"}, url("more/next.html")},
      {"refused", 0, false, {"should " + url("more/next.html")}, url("index.html")},
      {"plain text", 1, true, {}, url("index.html")},
      {"in-page fragment", 2, true, {}, url("index.html")},
      {"not a file", 3, true, {"should http://127.0.0.1:1/away", "start loading", "fail -2000"}, "http://127.0.0.1:1/away"},
      {"before the link", 4, true, {}, url("index.html")},
  };
  pf::HeadlessHost host(window);
  for (const auto& c : cases) {
    if (web->requestURL() != url("index.html")) {
      web->loadRequest(url("index.html"));
      drain();
      web->layoutIfNeeded();
    }
    log->events.clear();
    log->types.clear();
    log->allow = c.allow;
    host.tap(onBlock(c.block));
    drain();
    // An http page loads off the main thread: here a port that refuses, failing as the network does.
    loop->runUntilTrue([&] { return log->events.size() >= c.events.size(); }, 5);
    EXPECT_EQ(log->events, c.events) << c.what;
    EXPECT_EQ(web->requestURL(), c.loaded) << c.what;
    for (auto type : log->types) EXPECT_EQ(type, pf::WebViewDelegate::NavigationType::LinkClicked) << c.what;
  }
  // A page from the network never opens a local file, whatever its link says.
  web->loadHTMLString("<p><a href='" + url("more/next.html") + "'>Local file, local file</a></p>", "http://127.0.0.1/");
  drain();
  web->layoutIfNeeded();
  log->events.clear();
  host.tap(onBlock(0));
  drain();
  EXPECT_EQ(log->events, (std::vector<std::string>{"fail -1002"}));
  EXPECT_EQ(web->requestURL(), "http://127.0.0.1/");
  EXPECT_EQ(web->stringByEvaluatingJavaScriptFromString("document.title"), "");
  // A drag over a link scrolls instead.
  web->loadRequest(url("index.html"));
  drain();
  log->events.clear();
  host.drag({onBlock(0), {onBlock(0).x, onBlock(0).y + 60}}, 0.5);
  drain();
  EXPECT_TRUE(log->events.empty());
}

}  // namespace

namespace web_view_http_test {

// Lecture pages come from the server: a page answered 404 must still finish with its body (the
// player looks for "404 Not Found" in it), a refused connection must fail, and a load replaced while
// its answer is on the way must not finish over the newer page.
TEST_F(WebViewTest, HttpPagesFinishWithTheirBodyWhateverTheStatus) {
  devserver::DevServer server;
  server.route("/page.html", [](devserver::Exchange& exchange) {
    exchange.respond(200, "<title>Online</title><p>read me</p>", {{"Content-Type", "text/html"}});
  });
  server.route("/gone.html", [](devserver::Exchange& exchange) {
    exchange.respond(404, "<html><body><h1>404 Not Found</h1></body></html>", {{"Content-Type", "text/html"}});
  });
  ASSERT_TRUE(server.start());
  const struct {
    std::string url;
    std::string last;
    std::string body;
  } cases[] = {
      {server.url("/page.html"), "finish Online", "<p>read me</p>"},
      {server.url("/gone.html"), "finish ", "<h1>404 Not Found</h1>"},
      {"http://127.0.0.1:1/refused.html", "fail -2000", ""},
  };
  for (const auto& c : cases) {
    log->events.clear();
    web->loadRequest(c.url);
    loop->runUntilTrue([&] { return log->events.size() >= 3; }, 10);
    ASSERT_EQ(log->events.size(), 3u) << c.url;
    EXPECT_EQ(log->events[1], "start loading");
    EXPECT_EQ(log->events[2], c.last) << c.url;
    if (!c.body.empty())
      EXPECT_EQ(web->stringByEvaluatingJavaScriptFromString("document.body.innerHTML"), c.body) << c.url;
  }

  log->events.clear();
  web->loadRequest(server.url("/gone.html"));
  drain();
  web->loadHTMLString("<title>Newer</title>", "");
  loop->runUntilTrue([&] { return log->events.size() >= 5; }, 2);
  EXPECT_FALSE(loop->runUntilTrue([&] { return log->events.size() > 5; }, 1.5))
      << "the late 404 answer finished over the newer page";
  EXPECT_EQ(log->events.back(), "finish Newer");
  EXPECT_EQ(web->stringByEvaluatingJavaScriptFromString("document.title"), "Newer");
}

}  // namespace web_view_http_test
