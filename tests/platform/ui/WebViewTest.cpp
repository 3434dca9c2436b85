#include "platform/ui/WebView.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/Error.h"
#include "platform/ui/ScrollView.h"
#include "tests/platform/ui/UiTest.h"

namespace {

using pf::WebView;
using Kind = WebView::Block::Kind;

class PageLog : public pf::WebViewDelegate {
 public:
  bool shouldStartLoadWithRequest(WebView&, const std::string& url, NavigationType) override {
    events.push_back("should " + url);
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
  const struct {
    std::string url;
    std::string last;
  } cases[] = {
      {"file://" + (folder / "page.html").string(), "finish From disk"},
      {"file://" + (folder / "missing.html").string(), "fail -1100"},
      {"ftp://127.0.0.1/page.html", "fail -1002"},
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

}  // namespace
