#include "platform/ui/HtmlPage.h"

#include <libxml/HTMLparser.h>
#include <libxml/HTMLtree.h>

#include <algorithm>
#include <memory>
#include <tuple>

#include "platform/foundation/Utf8.h"

namespace pf {

namespace {

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
  std::vector<HtmlPage::Block> take() {
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
    HtmlPage::Block::Kind kind = HtmlPage::Block::Kind::Paragraph;
    int level = 0;
    if (name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6') {
      kind = HtmlPage::Block::Kind::Heading;
      level = name[1] - '0';
    } else if (name == "li") {
      kind = HtmlPage::Block::Kind::ListItem;
    } else if (name == "pre") {
      kind = HtmlPage::Block::Kind::Preformatted;
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
    if (kind_ == HtmlPage::Block::Kind::Preformatted) {
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
      if (kind_ == HtmlPage::Block::Kind::ListItem) {
        text = "\u2022 " + text;
        shift = 2;
      }
      const std::size_t length = utf16::length(text);
      std::vector<HtmlPage::Link> links;
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

  std::vector<HtmlPage::Block> blocks_;
  std::string text_;
  // Links whose element is still being walked, with where they began in text_ (UTF-16 units).
  std::vector<OpenLink> openLinks_;
  // Links of the block being collected, in units of text_.
  std::vector<HtmlPage::Link> links_;
  HtmlPage::Block::Kind kind_ = HtmlPage::Block::Kind::Paragraph;
  int level_ = 0;
};

}  // namespace

HtmlPage HtmlPage::read(const std::string& html) {
  HtmlPage page;
  if (html.empty()) return page;
  Document doc = parseHtml(html);
  if (!doc) return page;
  xmlNode* root = xmlDocGetRootElement(doc.get());
  if (xmlNode* title = findElement(root, "title")) page.title = textOf(title);
  xmlNode* body = findElement(root, "body");
  if (!body) return page;
  // Unformatted, so the markup reads back as it was written.
  std::unique_ptr<xmlOutputBuffer, int (*)(xmlOutputBuffer*)> out(xmlAllocOutputBuffer(nullptr),
                                                                  xmlOutputBufferClose);
  for (xmlNode* child = body->children; child; child = child->next) {
    htmlNodeDumpFormatOutput(out.get(), doc.get(), child, "UTF-8", 0);
  }
  xmlOutputBufferFlush(out.get());
  page.bodyHtml.assign(reinterpret_cast<const char*>(xmlOutputBufferGetContent(out.get())),
                       xmlOutputBufferGetSize(out.get()));
  BlockBuilder builder;
  builder.walk(body->children);
  page.blocks = builder.take();
  return page;
}

}  // namespace pf
