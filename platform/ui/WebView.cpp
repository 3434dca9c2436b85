#include "platform/ui/WebView.h"

#include <libxml/HTMLparser.h>
#include <libxml/HTMLtree.h>

#include <cctype>
#include <filesystem>
#include <fstream>

#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Utf8.h"
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

struct DocumentFree {
  void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using Document = std::unique_ptr<xmlDoc, DocumentFree>;

Document parseHtml(const std::string& html) {
  // No network, no noise: a page is read as it is, broken markup recovered.
  return Document(
      htmlReadMemory(html.data(), static_cast<int>(html.size()), nullptr, "UTF-8",
                     HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET));
}

std::string nameOf(const xmlNode* node) {
  return node->name ? reinterpret_cast<const char*>(node->name) : "";
}

xmlNode* findElement(xmlNode* node, const std::string& name) {
  for (; node; node = node->next) {
    if (node->type == XML_ELEMENT_NODE && nameOf(node) == name) return node;
    if (auto found = findElement(node->children, name)) return found;
  }
  return nullptr;
}

std::string textOf(xmlNode* node) {
  xmlChar* content = xmlNodeGetContent(node);
  std::string text = content ? reinterpret_cast<const char*>(content) : "";
  xmlFree(content);
  return text;
}

bool isBlock(const std::string& name) {
  static const char* const kBlocks[] = {"p",          "div",    "h1",      "h2",      "h3", "h4",
                                        "h5",         "h6",     "li",      "ul",      "ol", "pre",
                                        "table",      "tr",     "section", "article", "hr", "dl",
                                        "blockquote", "header", "footer",  "center",  "dt", "dd"};
  for (const char* block : kBlocks) {
    if (name == block) return true;
  }
  return false;
}

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

struct OpenLink {
  std::size_t from = 0;
  std::string href;
};

// Collects blocks of text from the body, collapsing white space as a browser does.
class BlockBuilder {
 public:
  void walk(xmlNode* node) {
    for (; node; node = node->next) visit(node);
  }
  std::vector<WebView::Block> take() {
    flush();
    return std::move(blocks_);
  }

 private:
  void visit(xmlNode* node) {
    if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
      return append(reinterpret_cast<const char*>(node->content ? node->content : BAD_CAST ""));
    }
    if (node->type != XML_ELEMENT_NODE) return;
    const std::string name = nameOf(node);
    if (name == "script" || name == "style" || name == "head" || name == "noscript") return;
    if (name == "br") return lineBreak();
    if (name == "img") {
      xmlChar* alt = xmlGetProp(node, BAD_CAST "alt");
      if (alt) append(reinterpret_cast<const char*>(alt));
      xmlFree(alt);
      return;
    }
    if (name == "a") return link(node);
    if (!isBlock(name)) return walk(node->children);
    flush();
    WebView::Block::Kind kind = WebView::Block::Kind::Paragraph;
    int level = 0;
    if (name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6') {
      kind = WebView::Block::Kind::Heading;
      level = name[1] - '0';
    } else if (name == "li") {
      kind = WebView::Block::Kind::ListItem;
    } else if (name == "pre") {
      kind = WebView::Block::Kind::Preformatted;
    }
    const auto saved = std::make_pair(kind_, level_);
    kind_ = kind;
    level_ = level;
    walk(node->children);
    flush();
    std::tie(kind_, level_) = saved;
  }
  // The link's text is what its children add to the block; a block inside the link ends the block
  // (the part so far is linked there) and the rest is linked in the blocks that follow.
  void link(xmlNode* node) {
    xmlChar* href = xmlGetProp(node, BAD_CAST "href");
    const std::string target = href ? reinterpret_cast<const char*>(href) : "";
    xmlFree(href);
    if (target.empty()) return walk(node->children);
    openLinks_.push_back({utf16::length(text_), target});
    walk(node->children);
    const OpenLink open = openLinks_.back();
    openLinks_.pop_back();
    closeLink(open);
  }
  void closeLink(const OpenLink& open) {
    const std::size_t to = utf16::length(text_);
    if (to > open.from) links_.push_back({{open.from, to - open.from}, open.href});
  }
  void append(const std::string& raw) {
    // Broken UTF-8 in a page reads as U+FFFD, so text and its ranges hold whole characters.
    std::string text;
    for (std::size_t pos = 0; pos < raw.size();) {
      const utf8::Character c = utf8::decode(raw, pos);
      utf8::append(text, c.codePoint);
      pos += c.size;
    }
    if (kind_ == WebView::Block::Kind::Preformatted) {
      text_ += text;
      return;
    }
    for (char c : text) {
      const bool space = c == ' ' || c == '\n' || c == '\t' || c == '\r' || c == '\f';
      if (space) {
        if (!text_.empty() && text_.back() != ' ' && text_.back() != '\n') text_ += ' ';
      } else {
        text_ += c;
      }
    }
  }
  void lineBreak() {
    while (!text_.empty() && text_.back() == ' ') text_.pop_back();
    text_ += '\n';
  }
  void flush() {
    for (const OpenLink& open : openLinks_) closeLink(open);
    for (OpenLink& open : openLinks_) open.from = 0;
    const auto firstByte = text_.find_first_not_of(" \n");
    if (firstByte != std::string::npos) {
      const auto lastByte = text_.find_last_not_of(" \n");
      std::string text = text_.substr(firstByte, lastByte - firstByte + 1);
      // Link ranges count UTF-16 units of text_: the trimmed ends are counted the same way.
      const std::size_t first = utf16::length(std::string_view(text_).substr(0, firstByte));
      const std::size_t last = utf16::length(std::string_view(text_).substr(0, lastByte + 1)) - 1;
      // Trimmed spaces are one unit each; the bullet adds two.
      std::size_t shift = 0;
      if (kind_ == WebView::Block::Kind::ListItem) {
        text = "\u2022 " + text;
        shift = 2;
      }
      const std::size_t length = utf16::length(text);
      std::vector<WebView::Link> links;
      for (auto& link : links_) {
        if (link.range.location + link.range.length <= first || link.range.location > last) continue;
        const std::size_t from = std::max(link.range.location, first) - first + shift;
        const std::size_t to = std::min(link.range.location + link.range.length, last + 1) - first + shift;
        if (to > from && from < length) links.push_back({{from, std::min(to, length) - from}, link.href});
      }
      blocks_.push_back({kind_, level_, std::move(text), std::move(links)});
    }
    text_.clear();
    links_.clear();
  }

  std::vector<WebView::Block> blocks_;
  std::string text_;
  // Links whose element is still being walked, with where they began in text_ (UTF-16 units).
  std::vector<OpenLink> openLinks_;
  // Links of the block being collected, in units of text_.
  std::vector<WebView::Link> links_;
  WebView::Block::Kind kind_ = WebView::Block::Kind::Paragraph;
  int level_ = 0;
};

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
  title_.clear();
  bodyHtml_.clear();
  blocks_.clear();
  if (html.empty()) return;
  Document doc = parseHtml(html);
  if (!doc) return;
  xmlNode* root = xmlDocGetRootElement(doc.get());
  if (xmlNode* title = findElement(root, "title")) title_ = textOf(title);
  xmlNode* body = findElement(root, "body");
  if (!body) return;
  // Unformatted, so the markup reads back as it was written.
  std::unique_ptr<xmlOutputBuffer, int (*)(xmlOutputBuffer*)> out(xmlAllocOutputBuffer(nullptr),
                                                                  xmlOutputBufferClose);
  for (xmlNode* child = body->children; child; child = child->next) {
    htmlNodeDumpFormatOutput(out.get(), doc.get(), child, "UTF-8", 0);
  }
  xmlOutputBufferFlush(out.get());
  bodyHtml_.assign(reinterpret_cast<const char*>(xmlOutputBufferGetContent(out.get())),
                   xmlOutputBufferGetSize(out.get()));
  BlockBuilder builder;
  builder.walk(body->children);
  blocks_ = builder.take();
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
