// The XML layer: parsing, reading every node, XPath from documents and from detached copies, and the
// tree changes that graft copies between trees (namespace fixing, removal, replaced declarations).
// Input: the document; when it starts with '/', its first line is an XPath expression searched too.
// A document the layer wrote must parse again.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include "core/xml/XmlDocument.h"
#include "core/xml/XmlElement.h"

namespace {

constexpr std::size_t kMaxNodes = 2000;

void read(const XmlNodePtr& node, std::size_t& budget) {
  if (!node || budget == 0) return;
  --budget;
  (void)node->name();
  (void)node->qualifiedName();
  (void)node->localName();
  (void)node->prefix();
  (void)node->URI();
  (void)node->stringValue();
  (void)node->kind();
  (void)node->XMLString();
  (void)node->description();
  (void)node->isEqual(*node);
  if (auto element = std::dynamic_pointer_cast<XmlElement>(node)) {
    for (const XmlNodePtr& attribute : element->attributes()) {
      if (auto name = attribute->name()) (void)element->attributeForName(*name);
      if (auto local = attribute->localName()) (void)element->attributeForLocalName(*local, attribute->URI().value_or(""));
    }
    for (const XmlNodePtr& ns : element->namespaces()) {
      if (auto uri = ns->stringValue()) (void)element->resolvePrefixForNamespaceURI(*uri);
    }
    if (auto name = element->name()) (void)element->elementsForName(*name);
  }
  const std::size_t count = node->childCount();
  for (std::size_t i = 0; i < count && budget > 0; ++i) read(node->childAtIndex(i), budget);
}

void search(const XmlNode& node, const std::string& xpath) {
  pf::ErrorPtr error;
  if (auto found = node.nodesForXPath(xpath, &error)) {
    std::size_t budget = 50;
    for (const XmlNodePtr& result : *found) {
      if (budget == 0) break;
      (void)result->XMLString();
      (void)result->stringValue();
      --budget;
    }
  }
}

// Grafts copies of the source's children and attributes into the target, then takes some out again.
void graft(XmlElement& target, const XmlElement& source) {
  std::vector<XmlNodePtr> children = source.children();
  if (children.size() > 20) children.resize(20);
  for (const XmlNodePtr& child : children) target.addChild(*child);
  for (const XmlNodePtr& attribute : source.attributes()) target.addAttribute(*attribute);
  std::vector<XmlNodePtr> now = target.children();
  for (std::size_t i = 0; i < now.size(); i += 2) target.removeChild(*now[i]);
  target.setNamespaces(source.namespaces());
}

void reparse(const XmlDocument& document) {
  auto data = document.XMLData();
  if (!data) return;
  pf::ErrorPtr error;
  if (!XmlDocument::initWithData(*data, 0, &error)) {
    const std::string text(data->begin(), data->end());
    std::fprintf(stderr, "written document does not parse again:\n%s\n%s\n", text.c_str(),
                 error ? error->description().c_str() : "");
    std::abort();
  }
}

void ignoreMessage(void*, const char*, ...) {}

// libxml2 keeps names that break the namespace rules (an undeclared prefix, ":0k") as they are, and
// writes them so; only a namespace-well-formed input is held to parsing again once written.
bool namespaceWellFormed(std::string_view text) {
  xmlParserCtxtPtr context = xmlNewParserCtxt();
  if (context == nullptr) return false;
  xmlDocPtr doc = xmlCtxtReadMemory(context, text.data(), static_cast<int>(text.size()), nullptr, nullptr,
                                    XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  const bool ok = doc != nullptr && context->wellFormed && context->nsWellFormed;
  xmlFreeDoc(doc);
  xmlFreeParserCtxt(context);
  return ok;
}

}  // namespace

// libxml2 prints some faults (encodings) whatever the parse options say; the fuzzing log needs none.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  xmlSetGenericErrorFunc(nullptr, ignoreMessage);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(bytes), size);
  std::string xpath;
  if (input.starts_with('/')) {
    const std::size_t end = input.find('\n');
    xpath = std::string(input.substr(0, end));
    input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
  }
  pf::ErrorPtr error;
  auto document = XmlDocument::initWithData(pf::Data(input.begin(), input.end()), 0, &error);
  if (!document) return 0;
  XmlElementPtr root = document->rootElement();
  if (!root) return 0;

  std::size_t budget = kMaxNodes;
  read(root, budget);
  (void)document->description();
  for (const char* path : {"//*", "//@*", "//namespace::*", "//text()", "/*/*[1]"}) search(*root, path);
  if (!xpath.empty()) {
    (void)document->nodesForXPath(xpath, &error);
    search(*root, xpath);
  }

  // A detached copy is searched inside a temporary document.
  XmlNodePtr copy = root->copy();
  auto detached = std::dynamic_pointer_cast<XmlElement>(copy);
  if (!detached) return 0;
  search(*detached, xpath.empty() ? "./*" : xpath);

  // Grafts between a built tree and the parsed one, both ways.
  XmlElementPtr built = XmlNode::elementWithName("made");
  XmlNodePtr ns = XmlNode::namespaceWithName("p", "urn:fuzz");
  XmlElementPtr item = XmlNode::elementWithNameURI("p:item", "urn:fuzz");
  if (!built || !ns || !item) return 0;
  built->addNamespace(*ns);
  built->addChild(*item);
  graft(*built, *root);
  graft(*detached, *built);
  std::vector<XmlElementPtr> elements;
  for (const XmlNodePtr& child : detached->children()) {
    if (auto element = std::dynamic_pointer_cast<XmlElement>(child)) elements.push_back(element);
  }
  if (!elements.empty()) graft(*elements.front(), *detached);
  budget = kMaxNodes;
  read(detached, budget);

  if (!namespaceWellFormed(input)) return 0;
  reparse(*document);
  // Entities are never expanded, so a copy taken out of a document that declares its own keeps
  // references to declarations it no longer has.
  if (root->XMLNode()->doc->intSubset != nullptr) return 0;
  reparse(*XmlDocument::initWithRootElement(*detached));
  reparse(*XmlDocument::initWithRootElement(*built));
  return 0;
}
