#include "platform/ui/WebView.h"

#include <cctype>
#include <filesystem>
#include <fstream>

#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/UrlContents.h"
#include "platform/text/AttributedString.h"
#include "platform/text/Font.h"
#include "platform/text/Framesetter.h"
#include "platform/text/TextFrame.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TapGestureRecognizer.h"

namespace pf {

namespace {

constexpr char kUrlErrorDomain[] = "NSURLErrorDomain";
constexpr long kUnsupportedUrl = -1002;
constexpr long kFileDoesNotExist = -1100;
constexpr long kFileIsDirectory = -1101;
constexpr long kNoPermissionsToReadFile = -1102;
constexpr long kDataLengthExceedsMaximum = -1103;
constexpr long kCannotLoadFromNetwork = -2000;
constexpr double kPageTimeout = 30;
// Pages on disk are small documents; anything larger is not one.
constexpr std::uintmax_t kMaxLocalPageBytes = 8u << 20;
constexpr double kMargin = 8;

bool isHttpUrl(const std::string& url) {
  return url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0;
}

bool isFileUrl(const std::string& url) {
  constexpr std::string_view scheme = "file:";
  if (url.size() < scheme.size()) return false;
  for (std::size_t i = 0; i < scheme.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(url[i])) != scheme[i]) return false;
  return true;
}

struct LocalPage {
  std::string html;
  long errorCode = 0;
  std::string description;
};

// Regular files only, and within the size limit: devices, pipes and folders never reach the parser.
LocalPage readLocalPage(const std::string& path) {
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (error || !std::filesystem::exists(status))
    return {{}, kFileDoesNotExist, "The requested URL was not found on this server."};
  if (std::filesystem::is_directory(status)) return {{}, kFileIsDirectory, "The requested URL is a folder."};
  if (!std::filesystem::is_regular_file(status))
    return {{}, kNoPermissionsToReadFile, "The requested URL is not a regular file."};
  const auto size = std::filesystem::file_size(path, error);
  if (error || size > kMaxLocalPageBytes)
    return {{}, kDataLengthExceedsMaximum, "The requested file is too large to show."};
  std::ifstream in(path, std::ios::binary);
  if (!in) return {{}, kNoPermissionsToReadFile, "The requested file cannot be read."};
  std::string html(static_cast<std::size_t>(size), '\0');
  in.read(html.data(), static_cast<std::streamsize>(html.size()));
  html.resize(static_cast<std::size_t>(in.gcount()));
  return {std::move(html), 0, {}};
}

}  // namespace

WebView::WebView() : WebView(Rect()) {}

WebView::WebView(const Rect& frame) : View(frame) {
  setBackgroundColor(Color::white());
  scrollView_ = std::make_shared<ScrollView>(bounds());
  scrollView_->setAutoresizingMask(kFlexibleWidth | kFlexibleHeight);
}

void WebView::didMoveToSuperview() {
  attachScrollView();
}

// A view cannot adopt subviews while it is being made.
void WebView::attachScrollView() {
  if (scrollView_->superview().get() != this) addSubview(scrollView_);
  if (tap_) return;
  tap_ = std::make_shared<TapGestureRecognizer>();
  // Text under a finger that is not on a link still gets its touches.
  tap_->setCancelsTouchesInView(false);
  tap_->addTarget(weak_from_this(), [this](GestureRecognizer&) { handleTap(); });
  scrollView_->addGestureRecognizer(tap_);
}

WebView::~WebView() = default;

void WebView::loadRequest(const std::string& url) {
  navigate(url, WebViewDelegate::NavigationType::Other);
}

void WebView::navigate(const std::string& url, WebViewDelegate::NavigationType type) {
  if (auto d = delegate(); d && !d->shouldStartLoadWithRequest(*this, url, type)) return;
  start(url, {}, true);
}

std::string WebView::resolveLink(const std::string& link) const {
  const std::string href = link.substr(0, link.find('#'));
  if (href.empty()) return {};
  if (href.find("://") != std::string::npos || href.rfind("about:", 0) == 0 || href.rfind("mailto:", 0) == 0)
    return href;
  constexpr std::string_view scheme = "file://";
  if (url_.rfind(scheme, 0) != 0) return href;  // fails as unsupported when loaded
  if (href[0] == '/') return std::string(scheme) + href;
  const std::string folder = url_.substr(0, url_.rfind('/') + 1);
  return folder + href;
}

void WebView::handleTap() {
  const Point at = tap_->locationInView(scrollView_.get());
  const auto href = linkAt(at);
  if (!href) return;
  const std::string url = resolveLink(*href);
  if (url.empty()) return;
  // Only a page read from disk may lead to another file: a page from the network never opens one.
  if (isFileUrl(url) && !isFileUrl(url_)) return fail(kUnsupportedUrl, "unsupported URL " + url);
  navigate(url, WebViewDelegate::NavigationType::LinkClicked);
}

std::optional<std::string> WebView::linkAt(Point point) const {
  for (size_t i = 0; i < labels_.size() && i < blocks_.size(); ++i) {
    const Rect frame = labels_[i]->frame();
    if (!frame.contains(point) || blocks_[i].links.empty()) continue;
    // Laid out as the label draws it, to find the character under the finger.
    TextAttributes attributes;
    attributes.font = labels_[i]->font();
    Framesetter setter(AttributedString(blocks_[i].text, attributes));
    const auto frameOfText = setter.createFrame({}, Rect(0, 0, frame.width(), frame.height()));
    const auto index = frameOfText->characterIndexAt({point.x - frame.minX(), point.y - frame.minY()});
    if (!index) return std::nullopt;
    for (const auto& link : blocks_[i].links) {
      if (*index >= link.range.location && *index < link.range.location + link.range.length) return link.href;
    }
    return std::nullopt;
  }
  return std::nullopt;
}

void WebView::loadHTMLString(const std::string& html, const std::string& baseURL) {
  const std::string url = baseURL.empty() ? "about:blank" : baseURL;
  if (auto d = delegate();
      d && !d->shouldStartLoadWithRequest(*this, url, WebViewDelegate::NavigationType::Other)) {
    return;
  }
  start(url, html, false);
}

void WebView::reload() {
  if (url_.empty()) return;
  if (fromFile_) return loadRequest(url_);
  start(url_, html_, false);
}

void WebView::stopLoading() {
  ++generation_;
  loading_ = false;
}

void WebView::start(const std::string& url, std::string html, bool fromFile) {
  url_ = url;
  fromFile_ = fromFile;
  loading_ = true;
  const unsigned generation = ++generation_;
  std::weak_ptr<WebView> weak = sharedAs<WebView>();
  RunLoop::main()->post([weak, generation, html = std::move(html), fromFile] {
    if (auto self = weak.lock()) self->finishLoad(generation, html, fromFile);
  });
}

void WebView::finishLoad(unsigned generation, const std::string& given, bool fromFile) {
  if (generation != generation_) return;  // stopped or replaced
  if (auto d = delegate()) d->webViewDidStartLoad(*this);
  if (generation != generation_) return;
  std::string html = given;
  if (fromFile) {
    if (isHttpUrl(url_)) return fetchPage(generation);
    constexpr std::string_view scheme = "file://";
    if (url_.rfind(scheme, 0) != 0) return fail(kUnsupportedUrl, "unsupported URL " + url_);
    LocalPage page = readLocalPage(url_.substr(scheme.size()));
    if (page.errorCode != 0) return fail(page.errorCode, page.description);
    html = std::move(page.html);
  }
  show(html);
}

// Read off the main thread; whatever the status, the answer's body is the page (a 404 page shows).
void WebView::fetchPage(unsigned generation) {
  std::weak_ptr<WebView> weak = sharedAs<WebView>();
  DispatchQueue::global()->async([weak, generation, url = url_] {
    auto result = std::make_shared<UrlContents::Result>(UrlContents::readPage(url, kPageTimeout));
    DispatchQueue::main()->async([weak, generation, result] {
      auto self = weak.lock();
      if (!self || generation != self->generation_) return;
      if (!result->data) {
        return self->fail(kCannotLoadFromNetwork, result->error ? result->error->localizedDescription() : "");
      }
      if (result->data->size() > kMaxLocalPageBytes) return self->fail(kDataLengthExceedsMaximum, "page too large");
      self->show(std::string(result->data->begin(), result->data->end()));
    });
  });
}

void WebView::show(const std::string& html) {
  html_ = html;
  parse(html);
  layOutBlocks();
  loading_ = false;
  if (auto d = delegate()) d->webViewDidFinishLoad(*this);
}

void WebView::fail(long code, const std::string& description) {
  loading_ = false;
  auto error = Error::make(kUrlErrorDomain, code, description);
  if (auto d = delegate()) d->didFailLoadWithError(*this, *error);
}

void WebView::parse(const std::string& html) {
  HtmlPage page = HtmlPage::read(html);
  title_ = std::move(page.title);
  bodyHtml_ = std::move(page.bodyHtml);
  blocks_ = std::move(page.blocks);
}

std::string WebView::stringByEvaluatingJavaScriptFromString(const std::string& script) const {
  std::string expression = script;
  while (!expression.empty() && (expression.back() == ';' || expression.back() == ' ')) expression.pop_back();
  if (expression == "document.title") return title_;
  if (expression == "document.body.innerHTML") return bodyHtml_;
  return {};
}

void WebView::layoutSubviews() {
  layOutBlocks();
}

void WebView::layOutBlocks() {
  attachScrollView();
  scrollView_->setFrame(bounds());
  while (!scrollView_->subviews().empty()) scrollView_->subviews().back()->removeFromSuperview();
  labels_.clear();
  const double width = std::max(0.0, bounds().width() - 2 * kMargin);
  double y = kMargin;
  static const double kHeadingSizes[] = {0, 24, 20, 18, 16, 14, 13};
  for (const auto& block : blocks_) {
    auto label = std::make_shared<Label>();
    label->setNumberOfLines(0);
    label->setLineBreakMode(LineBreakMode::wordWrap);
    label->setText(block.text);
    switch (block.kind) {
      case Block::Kind::Heading:
        label->setFont(Font::boldSystemFont(kHeadingSizes[block.level]));
        break;
      case Block::Kind::Preformatted:
        label->setFont(Font::withNameOrSystem("Monospace", 13));
        break;
      default:
        label->setFont(Font::systemFont(scalesPageToFit_ ? 14 : 16));
        break;
    }
    const Size fit = label->sizeThatFits({width, 1e6});
    label->setFrame(Rect(kMargin, y, width, fit.height));
    scrollView_->addSubview(label);
    labels_.push_back(label);
    y += fit.height + kMargin;
  }
  scrollView_->setContentSize({bounds().width(), y});
}

}  // namespace pf
