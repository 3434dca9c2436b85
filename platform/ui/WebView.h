#pragma once
// Shows an HTML page as readable text: headings, paragraphs, list items and line breaks in simple
// block layout, pictures by their alt text, in a scroll view. Pages come from a file or http address
// or an HTML string; the delegate is asked before a load starts and hears its start, finish or failure.
// A tap on a link asks the delegate (as a clicked link) and loads its address when allowed.
// No script runs: evaluation answers only "document.title" and "document.body.innerHTML". Main thread only.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/HtmlPage.h"
#include "platform/ui/View.h"

namespace pf {

class Error;
class Label;
class ScrollView;
class TapGestureRecognizer;
class WebView;

class WebViewDelegate {
 public:
  // The platform's navigation types.
  enum class NavigationType { LinkClicked = 0, FormSubmitted, BackForward, Reload, FormResubmitted, Other };
  virtual ~WebViewDelegate() = default;
  virtual bool shouldStartLoadWithRequest(WebView& /*webView*/, const std::string& /*url*/,
                                          NavigationType /*type*/) {
    return true;
  }
  virtual void webViewDidStartLoad(WebView& /*webView*/) {}
  virtual void webViewDidFinishLoad(WebView& /*webView*/) {}
  virtual void didFailLoadWithError(WebView& /*webView*/, const Error& /*error*/) {}
};

class WebView : public View {
  PF_OBJECT(WebView, View)

  using Link = HtmlPage::Link;
  using Block = HtmlPage::Block;

  WebView();
  explicit WebView(const Rect& frame);
  ~WebView() override;

  std::shared_ptr<WebViewDelegate> delegate() const { return delegate_.lock(); }
  void setDelegate(std::weak_ptr<WebViewDelegate> delegate) { delegate_ = std::move(delegate); }

  // A file address loads from disk, an http or https address with one GET off the main thread (an
  // answer of any status shows its body, as a browser shows a 404 page); other schemes fail with an
  // unsupported-address error.
  void loadRequest(const std::string& url);
  void loadHTMLString(const std::string& html, const std::string& baseURL);
  void reload();
  void stopLoading();
  bool isLoading() const { return loading_; }
  const std::string& requestURL() const { return url_; }
  bool scalesPageToFit() const { return scalesPageToFit_; }
  void setScalesPageToFit(bool scales) { scalesPageToFit_ = scales; }
  const std::shared_ptr<ScrollView>& scrollView() const { return scrollView_; }

  // Answers "document.title" and "document.body.innerHTML"; anything else answers "".
  std::string stringByEvaluatingJavaScriptFromString(const std::string& script) const;
  const std::vector<Block>& blocks() const { return blocks_; }
  // The address a link resolves to against the page's address; empty for an in-page fragment.
  std::string resolveLink(const std::string& link) const;

  void layoutSubviews() override;
  void didMoveToSuperview() override;

 private:
  void attachScrollView();
  void navigate(const std::string& url, WebViewDelegate::NavigationType type);
  void handleTap();
  std::optional<std::string> linkAt(Point pointInContent) const;
  void start(const std::string& url, std::string html, bool fromFile);
  void finishLoad(unsigned generation, const std::string& html, bool fromFile);
  void fetchPage(unsigned generation);
  void show(const std::string& html);
  void fail(long code, const std::string& description);
  void parse(const std::string& html);
  void layOutBlocks();

  std::weak_ptr<WebViewDelegate> delegate_;
  std::shared_ptr<ScrollView> scrollView_;
  std::shared_ptr<TapGestureRecognizer> tap_;
  // The labels showing the blocks, in order.
  std::vector<std::shared_ptr<Label>> labels_;
  std::string url_;
  std::string html_;
  std::string title_;
  std::string bodyHtml_;
  std::vector<Block> blocks_;
  unsigned generation_ = 0;
  bool loading_ = false;
  bool scalesPageToFit_ = false;
  bool fromFile_ = false;
};

}  // namespace pf
