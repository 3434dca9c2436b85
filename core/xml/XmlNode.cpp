#include "core/xml/XmlNode.h"
#include "core/xml/XmlChars.h"

#include <libxml/entities.h>
#include <libxml/tree.h>

#include <cstdio>

#include "core/xml/XmlElement.h"
#include "core/xml/XmlTreeOwner.h"
#include "core/xml/XmlXPathSearch.h"

namespace {

std::optional<std::string> text(const xmlChar* chars) {
  if (chars == nullptr) return std::nullopt;
  return std::string(reinterpret_cast<const char*>(chars));
}

// Takes a string that libxml2 allocated for us.
std::optional<std::string> takeText(xmlChar* chars) {
  std::optional<std::string> result = text(chars);
  xmlFree(chars);
  return result;
}

bool isNamespace(const xmlNode* node) {
  return node->type == XML_NAMESPACE_DECL;
}

// The namespace an element or attribute is in; other kinds have none.
xmlNsPtr namespaceOf(xmlNodePtr node) {
  if (node->type == XML_ELEMENT_NODE) return node->ns;
  if (node->type == XML_ATTRIBUTE_NODE) return reinterpret_cast<xmlAttrPtr>(node)->ns;
  return nullptr;
}

xmlDocPtr documentOf(xmlNodePtr node) {
  return isNamespace(node) ? xmlNamespaceNode(node)->context : node->doc;
}

// Children as libxml2 links them; an entity reference links to its declaration, which is no child.
xmlNodePtr firstChild(xmlNodePtr node) {
  if (isNamespace(node) || node->type == XML_ENTITY_REF_NODE) return nullptr;
  return node->children;
}

std::string trimmedXML(const std::string& text) {
  const char* blanks = " \t\r\n";
  const auto first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string fakeQNameOfName(const std::string& uri, const std::string& name) {
  return "{" + uri + "}:" + XmlNode::localNameForName(name);
}

template <typename Wrapper>
std::shared_ptr<Wrapper> consumed(xmlNodePtr node) {
  return std::dynamic_pointer_cast<Wrapper>(XmlNode::nodeConsumingXMLNode(node));
}

XmlNodePtr makeWrapper(xmlNodePtr node, std::shared_ptr<XmlTreeOwner> tree, bool owning) {
  if (node == nullptr) return nullptr;
  if (node->type == XML_ELEMENT_NODE) return std::make_shared<XmlElement>(node, std::move(tree), owning);
  return std::make_shared<XmlNode>(node, std::move(tree), owning);
}

}  // namespace

XmlNodePtr XmlNode::nodeConsumingXMLNode(_xmlNode* node) {
  if (node == nullptr) return nullptr;
  return makeWrapper(node, XmlTreeOwner::ofNode(node), true);
}

XmlNodePtr XmlNode::nodeBorrowingXMLNode(_xmlNode* node) {
  return makeWrapper(node, nullptr, false);
}

XmlElementPtr XmlNode::elementWithName(const std::string& name) {
  return consumed<XmlElement>(xmlNewNode(nullptr, xmlChars(name)));
}

XmlElementPtr XmlNode::elementWithName(const std::string& name, const std::string& stringValue) {
  xmlNodePtr element = xmlNewNode(nullptr, xmlChars(name));
  if (element == nullptr) return nullptr;
  xmlNodePtr textNode = xmlNewText(xmlChars(stringValue));
  if (textNode != nullptr && xmlAddChild(element, textNode) == nullptr) xmlFreeNode(textNode);
  return consumed<XmlElement>(element);
}

XmlElementPtr XmlNode::elementWithNameURI(const std::string& name, const std::string& URI) {
  return elementWithName(fakeQNameOfName(URI, name));
}

XmlNodePtr XmlNode::attributeWithName(const std::string& name, const std::string& stringValue) {
  return nodeConsumingXMLNode(reinterpret_cast<xmlNodePtr>(xmlNewProp(nullptr, xmlChars(name), xmlChars(stringValue))));
}

XmlNodePtr XmlNode::attributeWithName(const std::string& name, const std::string& URI,
                                      const std::string& stringValue) {
  return attributeWithName(fakeQNameOfName(URI, name), stringValue);
}

XmlNodePtr XmlNode::textWithStringValue(const std::string& stringValue) {
  return nodeConsumingXMLNode(xmlNewText(xmlChars(stringValue)));
}

XmlNodePtr XmlNode::namespaceWithName(const std::string& name, const std::string& stringValue) {
  const xmlChar* prefix = name.empty() ? nullptr : xmlChars(name);
  return nodeConsumingXMLNode(reinterpret_cast<xmlNodePtr>(xmlNewNs(nullptr, xmlChars(stringValue), prefix)));
}

std::string XmlNode::localNameForName(const std::string& name) {
  const auto colon = name.find(':');
  if (colon == std::string::npos || colon + 1 == name.size()) return name;
  return name.substr(colon + 1);
}

std::optional<std::string> XmlNode::prefixForName(const std::string& name) {
  const auto colon = name.find(':');
  if (colon == std::string::npos) return std::nullopt;
  return name.substr(0, colon);
}

XmlNode::XmlNode(_xmlNode* node, std::shared_ptr<XmlTreeOwner> tree, bool owning)
    : xmlNode_(node), tree_(std::move(tree)), shouldFreeXMLNode_(owning) {}

std::optional<std::string> XmlNode::name() const {
  if (!cachedName_) cachedName_ = qualifiedName();
  return *cachedName_;
}

std::optional<std::string> XmlNode::qualifiedName() const {
  if (xmlNode_ == nullptr) return std::nullopt;
  if (isNamespace(xmlNode_)) return text(xmlNamespaceNode(xmlNode_)->prefix).value_or("");
  std::optional<std::string> plain = text(xmlNode_->name);
  xmlNsPtr ns = namespaceOf(xmlNode_);
  if (plain && ns != nullptr && ns->prefix != nullptr) return *text(ns->prefix) + ":" + *plain;
  return plain;
}

std::optional<std::string> XmlNode::localName() const {
  if (xmlNode_ == nullptr) return std::nullopt;
  if (isNamespace(xmlNode_)) return qualifiedName();
  std::optional<std::string> plain = text(xmlNode_->name);
  if (!plain) return std::nullopt;
  return localNameForName(*plain);  // a detached node may still carry its prefix in its name
}

std::string XmlNode::prefix() const {
  xmlNsPtr ns = xmlNode_ != nullptr ? namespaceOf(xmlNode_) : nullptr;
  return ns != nullptr ? text(ns->prefix).value_or("") : "";
}

std::optional<std::string> XmlNode::URI() const {
  xmlNsPtr ns = xmlNode_ != nullptr ? namespaceOf(xmlNode_) : nullptr;
  return ns != nullptr ? text(ns->href) : std::nullopt;
}

std::optional<std::string> XmlNode::stringValue() const {
  if (xmlNode_ == nullptr) return std::nullopt;
  if (isNamespace(xmlNode_)) return text(xmlNamespaceNode(xmlNode_)->href);
  return takeText(xmlNodeGetContent(xmlNode_));
}

std::string XmlNode::XMLString() const {
  if (xmlNode_ == nullptr) return "";
  std::unique_ptr<xmlBuffer, decltype(&xmlBufferFree)> buffer(xmlBufferCreate(), &xmlBufferFree);
  if (!buffer) return "";
  xmlNodeDump(buffer.get(), documentOf(xmlNode_), xmlNode_, 0, 0);
  return trimmedXML(text(xmlBufferContent(buffer.get())).value_or(""));
}

std::vector<XmlNodePtr> XmlNode::children() const {
  if (!cachedChildren_) {
    std::vector<XmlNodePtr> nodes;
    if (xmlNode_ != nullptr) {
      for (xmlNodePtr child = firstChild(xmlNode_); child != nullptr; child = child->next) {
        nodes.push_back(wrap(child));
      }
    }
    cachedChildren_ = std::move(nodes);
  }
  return *cachedChildren_;
}

std::size_t XmlNode::childCount() const {
  std::size_t count = 0;
  if (xmlNode_ == nullptr) return count;
  for (xmlNodePtr child = firstChild(xmlNode_); child != nullptr; child = child->next) ++count;
  return count;
}

XmlNodePtr XmlNode::childAtIndex(std::size_t index) const {
  const std::vector<XmlNodePtr> nodes = children();
  return index < nodes.size() ? nodes[index] : nullptr;
}

XmlNodeKind XmlNode::kind() const {
  if (xmlNode_ == nullptr) return XmlNodeKind::Invalid;
  switch (xmlNode_->type) {
    case XML_ELEMENT_NODE:
      return XmlNodeKind::Element;
    case XML_ATTRIBUTE_NODE:
      return XmlNodeKind::Attribute;
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
      return XmlNodeKind::Text;
    case XML_ENTITY_REF_NODE:
    case XML_ENTITY_NODE:
    case XML_ENTITY_DECL:
      return XmlNodeKind::EntityDeclaration;
    case XML_PI_NODE:
    case XML_XINCLUDE_START:
    case XML_XINCLUDE_END:
      return XmlNodeKind::ProcessingInstruction;
    case XML_COMMENT_NODE:
      return XmlNodeKind::Comment;
    case XML_DOCUMENT_NODE:
    case XML_DOCUMENT_TYPE_NODE:
    case XML_DOCUMENT_FRAG_NODE:
    case XML_HTML_DOCUMENT_NODE:
    case XML_DOCB_DOCUMENT_NODE:
      return XmlNodeKind::Document;
    case XML_NOTATION_NODE:
      return XmlNodeKind::NotationDeclaration;
    case XML_DTD_NODE:
      return XmlNodeKind::DTD;
    case XML_ELEMENT_DECL:
      return XmlNodeKind::ElementDeclaration;
    case XML_ATTRIBUTE_DECL:
      return XmlNodeKind::AttributeDeclaration;
    case XML_NAMESPACE_DECL:
      return XmlNodeKind::Namespace;
  }
  return XmlNodeKind::Invalid;
}

_xmlNode* XmlNode::XMLNodeCopy() const {
  if (xmlNode_ == nullptr) return nullptr;
  // A namespace node is copied alone; libxml2's node copy would copy the list it is linked into.
  if (isNamespace(xmlNode_)) return reinterpret_cast<xmlNodePtr>(xmlCopyNamespace(xmlNamespaceNode(xmlNode_)));
  // libxml2's copy of a lone attribute may keep its name in the source document's dictionary: build a
  // new one, in no namespace as that copy would be.
  if (xmlNode_->type == XML_ATTRIBUTE_NODE) {
    xmlChar* value = xmlNodeGetContent(xmlNode_);
    xmlAttrPtr attribute = xmlNewProp(nullptr, xmlNode_->name, value);
    xmlFree(value);
    return reinterpret_cast<xmlNodePtr>(attribute);
  }
  return xmlCopyNode(xmlNode_, 1);
}

XmlNodePtr XmlNode::copy() const {
  return nodeConsumingXMLNode(XMLNodeCopy());
}

bool XmlNode::isEqual(const XmlNode& other) const {
  if (this == &other || (xmlNode_ != nullptr && xmlNode_ == other.xmlNode_)) return true;
  return kind() == other.kind() && name() == other.name() && childCount() == other.childCount();
}

std::string XmlNode::description() const {
  const char* className = dynamic_cast<const XmlElement*>(this) != nullptr ? "XmlElement" : "XmlNode";
  const int type = xmlNode_ != nullptr ? static_cast<int>(xmlNode_->type) : -1;
  char head[64];
  std::snprintf(head, sizeof head, "%s %p: {type:%d name:", className, static_cast<const void*>(this), type);
  return std::string(head) + name().value_or("(null)") + " xml:\"" + XMLString() + "\"}";
}

void XmlNode::setStringValue(const std::string& value) {
  if (xmlNode_ == nullptr) return;
  releaseCachedValues();
  if (isNamespace(xmlNode_)) {
    xmlNsPtr ns = xmlNamespaceNode(xmlNode_);
    xmlFree(const_cast<xmlChar*>(ns->href));
    ns->href = xmlStrdup(xmlChars(value));
    return;
  }
  switch (xmlNode_->type) {
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_COMMENT_NODE:
    case XML_PI_NODE:
      xmlNodeSetContent(xmlNode_, xmlChars(value));  // kept as is, never parsed
      return;
    case XML_ELEMENT_NODE:
    case XML_ATTRIBUTE_NODE:
      break;
    default:
      // An entity reference's content is the document's entity, shared by every reference to it:
      // setting it would free the entity under the document. Declarations are not text either.
      return;
  }
  // Old children may still be wrapped: keep them with the tree instead of freeing them.
  while (xmlNodePtr child = xmlNode_->children) {
    xmlUnlinkNode(child);
    if (tree_)
      tree_->keepDetached(child);
    else
      xmlFreeNode(child);
  }
  // Element and attribute content is read for entity references: escape it so it stays literal.
  if (xmlChar* escaped = xmlEncodeSpecialChars(xmlNode_->doc, xmlChars(value))) {
    xmlNodeSetContent(xmlNode_, escaped);
    xmlFree(escaped);
  }
}

std::optional<std::vector<XmlNodePtr>> XmlNode::nodesForXPath(const std::string& xpath,
                                                              pf::ErrorPtr* error) const {
  return search(xpath, nullptr, error);
}

std::optional<std::vector<XmlNodePtr>> XmlNode::nodesForXPath(
    const std::string& xpath, const std::map<std::string, std::string>& namespaces,
    pf::ErrorPtr* error) const {
  return search(xpath, &namespaces, error);
}

std::optional<std::vector<XmlNodePtr>> XmlNode::search(const std::string& xpath,
                                                       const std::map<std::string, std::string>* namespaces,
                                                       pf::ErrorPtr* error) const {
  std::optional<std::vector<xmlNodePtr>> found =
      XmlXPathSearch::nodesForXPath(xmlNode_, xpath, namespaces, error);
  if (!found) return std::nullopt;
  std::vector<XmlNodePtr> nodes;
  nodes.reserve(found->size());
  for (xmlNodePtr node : *found) {
    nodes.push_back(isNamespace(node) ? nodeConsumingXMLNode(node) : wrap(node));
  }
  return nodes;
}

XmlNodePtr XmlNode::wrap(_xmlNode* node) const {
  return makeWrapper(node, tree_, false);
}

void XmlNode::releaseCachedValues() {
  cachedName_.reset();
  cachedChildren_.reset();
}
