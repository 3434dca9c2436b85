#include "core/xml/XmlXPathSearch.h"
#include "core/xml/XmlChars.h"

#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <memory>

#include "core/xml/XmlNode.h"
#include "core/xml/XmlParser.h"

namespace {

constexpr char kDefaultNamespacePrefix[] = "_def_ns";

pf::ErrorPtr searchError(long code, const std::string& message) {
  pf::Dictionary userInfo;
  if (!message.empty()) userInfo["error"] = message;
  return std::make_shared<pf::Error>(kXmlErrorDomain, code, std::move(userInfo));
}

// Keeps this thread's libxml2 errors off standard error while alive; the last one stays readable.
class SilentErrors {
 public:
  SilentErrors() : handler_(xmlStructuredError), context_(xmlStructuredErrorContext) {
    xmlResetLastError();
    xmlSetStructuredErrorFunc(nullptr, [](void*, xmlErrorPtr) {});
  }
  ~SilentErrors() { xmlSetStructuredErrorFunc(context_, handler_); }
  SilentErrors(const SilentErrors&) = delete;
  SilentErrors& operator=(const SilentErrors&) = delete;

 private:
  xmlStructuredErrorFunc handler_;
  void* context_;
};

struct ContextDeleter {
  void operator()(xmlXPathContextPtr ctx) const { xmlXPathFreeContext(ctx); }
};
struct ObjectDeleter {
  void operator()(xmlXPathObjectPtr obj) const { xmlXPathFreeObject(obj); }
};

// Puts a node without a document into a temporary one for the length of a search. A top element
// becomes the document's root, so searches from the root find it; any other top (a standalone
// attribute, text) only points at the document, since a document holds no such child. The document
// node itself belongs to no wrapper's tree and is never handed out.
class TemporaryDocument {
 public:
  explicit TemporaryDocument(xmlNodePtr node) {
    if (node->doc != nullptr) return;
    top_ = node;
    while (top_->parent != nullptr) top_ = top_->parent;
    doc_ = xmlNewDoc(nullptr);
    if (doc_ == nullptr) return;
    if (top_->type == XML_ELEMENT_NODE)
      xmlDocSetRootElement(doc_, top_);
    else
      xmlSetTreeDoc(top_, doc_);
  }
  ~TemporaryDocument() {
    if (doc_ == nullptr) return;
    if (top_->parent == reinterpret_cast<xmlNodePtr>(doc_)) xmlUnlinkNode(top_);
    if (top_->doc == doc_) xmlSetTreeDoc(top_, nullptr);
    xmlFreeDoc(doc_);
  }
  TemporaryDocument(const TemporaryDocument&) = delete;
  TemporaryDocument& operator=(const TemporaryDocument&) = delete;

  bool isDocumentNode(const xmlNode* node) const {
    return doc_ != nullptr && node == reinterpret_cast<const xmlNode*>(doc_);
  }

 private:
  xmlNodePtr top_ = nullptr;
  xmlDocPtr doc_ = nullptr;
};

void registerNamespace(xmlXPathContextPtr ctx, const xmlChar* prefix, const xmlChar* uri) {
  if (xmlXPathRegisterNs(ctx, prefix, uri) != 0) {
    throw pf::ContractViolation(std::string("XmlNode XPath namespace ") +
                                reinterpret_cast<const char*>(prefix) + " issue");
  }
}

void registerNamespaces(xmlXPathContextPtr ctx, xmlNodePtr context,
                        const std::map<std::string, std::string>* namespaces) {
  if (namespaces != nullptr) {
    for (const auto& [prefix, uri] : *namespaces) registerNamespace(ctx, xmlChars(prefix), xmlChars(uri));
    return;
  }
  xmlNodePtr node = context->type == XML_DOCUMENT_NODE
                        ? xmlDocGetRootElement(reinterpret_cast<xmlDocPtr>(context))
                        : context;
  if (node == nullptr || node->type != XML_ELEMENT_NODE) return;
  for (xmlNsPtr ns = node->ns; ns != nullptr; ns = ns->next) {
    const xmlChar* prefix = ns->prefix != nullptr ? ns->prefix : BAD_CAST kDefaultNamespacePrefix;
    registerNamespace(ctx, prefix, ns->href);
  }
}

std::vector<xmlNodePtr> nodesOf(const xmlXPathObject& result, const TemporaryDocument& temporary) {
  std::vector<xmlNodePtr> nodes;
  const xmlNodeSet* set = result.nodesetval;
  if (set == nullptr) return nodes;
  nodes.reserve(set->nodeNr);
  for (int i = 0; i < set->nodeNr; ++i) {
    xmlNodePtr node = set->nodeTab[i];
    if (temporary.isDocumentNode(node)) continue;
    // The search's namespace nodes die with its result: hand out copies.
    if (node->type == XML_NAMESPACE_DECL) {
      node = reinterpret_cast<xmlNodePtr>(xmlCopyNamespace(reinterpret_cast<xmlNsPtr>(node)));
      if (node == nullptr) continue;
    }
    nodes.push_back(node);
  }
  return nodes;
}

std::string messageOf(const xmlError& error) {
  std::string message = error.message != nullptr ? error.message : "";
  while (!message.empty() && message.back() == '\n') message.pop_back();
  return message;
}

}  // namespace

std::optional<std::vector<_xmlNode*>> XmlXPathSearch::nodesForXPath(
    _xmlNode* context, const std::string& xpath, const std::map<std::string, std::string>* namespaces,
    pf::ErrorPtr* error) {
  XmlParser::initialize();
  if (context == nullptr || context->type == XML_NAMESPACE_DECL) {
    if (error != nullptr) *error = searchError(-1, "invalid node");
    return std::nullopt;
  }
  TemporaryDocument temporary(context);
  if (context->doc == nullptr) {
    if (error != nullptr) *error = searchError(-1, "invalid node");
    return std::nullopt;
  }
  std::unique_ptr<xmlXPathContext, ContextDeleter> ctx(xmlXPathNewContext(context->doc));
  if (!ctx) {
    if (error != nullptr) *error = searchError(-1, "");
    return std::nullopt;
  }
  ctx->node = context;
  registerNamespaces(ctx.get(), context, namespaces);

  SilentErrors silent;
  std::unique_ptr<xmlXPathObject, ObjectDeleter> result(xmlXPathEvalExpression(xmlChars(xpath), ctx.get()));
  if (!result) {
    const xmlError* cause = xmlGetLastError();
    const long code = cause != nullptr && cause->code != 0 ? cause->code : -1;
    if (error != nullptr) *error = searchError(code, cause != nullptr ? messageOf(*cause) : "");
    return std::nullopt;
  }
  if (error != nullptr) *error = nullptr;
  return nodesOf(*result, temporary);
}
