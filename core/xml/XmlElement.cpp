#include "core/xml/XmlElement.h"
#include "core/xml/XmlChars.h"

#include <libxml/tree.h>

#include <set>
#include <string>

#include "core/xml/XmlNamespaceFixer.h"
#include "core/xml/XmlParser.h"
#include "core/xml/XmlTreeOwner.h"

namespace {

bool equals(const xmlChar* chars, const std::string& text) {
  return chars != nullptr && xmlStrEqual(chars, xmlChars(text));
}

xmlNodePtr asNode(xmlAttrPtr attr) {
  return reinterpret_cast<xmlNodePtr>(attr);
}
std::string fakeQName(const std::string& uri, const std::string& localName) {
  return "{" + uri + "}:" + localName;
}

// The attribute named so, in any namespace.
xmlAttrPtr propertyNamed(xmlNodePtr element, const std::string& name) {
  for (xmlAttrPtr attr = element->properties; attr != nullptr; attr = attr->next) {
    if (equals(attr->name, name)) return attr;
  }
  return nullptr;
}

// The attribute named so in the namespace of that URI, or in no namespace when uri is null.
xmlAttrPtr propertyNamed(xmlNodePtr element, const std::string& name, const xmlChar* uri) {
  for (xmlAttrPtr attr = element->properties; attr != nullptr; attr = attr->next) {
    if (!equals(attr->name, name)) continue;
    if (uri == nullptr ? attr->ns == nullptr : attr->ns != nullptr && xmlStrEqual(attr->ns->href, uri)) {
      return attr;
    }
  }
  return nullptr;
}

xmlNsPtr& namespaceSlot(xmlNodePtr node) {
  return node->type == XML_ATTRIBUTE_NODE ? reinterpret_cast<xmlAttrPtr>(node)->ns : node->ns;
}

// Declares a dropped namespace again on owner, under its old prefix when that is free in scope.
xmlNsPtr redeclare(xmlNodePtr owner, xmlNsPtr dropped) {
  if (xmlSearchNs(owner->doc, owner, dropped->prefix) == nullptr) {
    if (xmlNsPtr ns = xmlNewNs(owner, dropped->href, dropped->prefix)) return ns;
  }
  for (int i = 0;; ++i) {
    const std::string prefix = "ns" + std::to_string(i);
    if (xmlSearchNs(owner->doc, owner, xmlChars(prefix)) == nullptr)
      return xmlNewNs(owner, dropped->href, xmlChars(prefix));
  }
}

// Moves every use of a dropped declaration, top down, to an equal one in scope, or declares it again
// on the element whose declarations were replaced.
void repointNamespaces(xmlNodePtr owner, xmlNodePtr node, const std::set<xmlNsPtr>& dropped) {
  if (node->type != XML_ELEMENT_NODE && node->type != XML_ATTRIBUTE_NODE) return;
  xmlNsPtr& slot = namespaceSlot(node);
  if (slot != nullptr && dropped.count(slot) != 0) {
    xmlNsPtr replacement = xmlSearchNsByHref(owner->doc, node, slot->href);
    slot = replacement != nullptr ? replacement : redeclare(owner, slot);
  }
  if (node->type != XML_ELEMENT_NODE) return;
  for (xmlAttrPtr attr = node->properties; attr != nullptr; attr = attr->next) {
    repointNamespaces(owner, asNode(attr), dropped);
  }
  for (xmlNodePtr child = node->children; child != nullptr; child = child->next) {
    repointNamespaces(owner, child, dropped);
  }
}

}  // namespace

XmlElementPtr XmlElement::initWithXMLString(const std::string& text, pf::ErrorPtr* error) {
  xmlDocPtr doc = XmlParser::parse(text.data(), text.size(), error);
  if (doc == nullptr) return nullptr;
  xmlNodePtr root = xmlDocGetRootElement(doc);
  xmlNodePtr copy = root != nullptr ? xmlCopyNode(root, 1) : nullptr;
  xmlFreeDoc(doc);
  if (copy == nullptr) {
    if (error != nullptr) *error = std::make_shared<pf::Error>(kXmlErrorDomain, -1);
    return nullptr;
  }
  return std::dynamic_pointer_cast<XmlElement>(nodeConsumingXMLNode(copy));
}

std::vector<XmlNodePtr> XmlElement::attributes() const {
  if (!cachedAttributes_) {
    std::vector<XmlNodePtr> nodes;
    if (XMLNode() != nullptr) {
      for (xmlAttrPtr attr = XMLNode()->properties; attr != nullptr; attr = attr->next) {
        nodes.push_back(wrap(asNode(attr)));
      }
    }
    cachedAttributes_ = std::move(nodes);
  }
  return *cachedAttributes_;
}

XmlNodePtr XmlElement::attributeForName(const std::string& name) const {
  if (XMLNode() == nullptr) return nullptr;
  xmlAttrPtr found = propertyNamed(XMLNode(), name);
  if (found == nullptr) {
    const std::optional<std::string> prefix = prefixForName(name);
    xmlNsPtr ns = prefix ? xmlSearchNs(XMLNode()->doc, XMLNode(), xmlChars(*prefix)) : nullptr;
    const std::string local = prefix ? localNameForName(name) : name;
    found = propertyNamed(XMLNode(), local, ns != nullptr ? ns->href : nullptr);
  }
  return attributeForXMLNode(found);
}

XmlNodePtr XmlElement::attributeForLocalName(const std::string& localName, const std::string& URI) const {
  if (XMLNode() == nullptr) return nullptr;
  xmlAttrPtr found = propertyNamed(XMLNode(), localName, xmlChars(URI));
  if (found == nullptr) found = propertyNamed(XMLNode(), fakeQName(URI, localName));
  return attributeForXMLNode(found);
}

XmlNodePtr XmlElement::attributeForXMLNode(_xmlAttr* attribute) const {
  if (attribute == nullptr) return nullptr;
  for (const XmlNodePtr& node : attributes()) {
    if (node->XMLNode() == asNode(attribute)) return node;
  }
  return nullptr;
}

std::vector<XmlElementPtr> XmlElement::elementsForName(const std::string& name) const {
  std::vector<XmlElementPtr> elements;
  if (XMLNode() == nullptr) return elements;
  if (const std::optional<std::string> prefix = prefixForName(name)) {
    if (xmlNsPtr ns = xmlSearchNs(XMLNode()->doc, XMLNode(), xmlChars(*prefix))) {
      return elementsForLocalName(localNameForName(name),
                                  std::string(reinterpret_cast<const char*>(ns->href)));
    }
  }
  for (const XmlNodePtr& child : children()) {
    if (child->kind() == XmlNodeKind::Element && child->name() == name) {
      elements.push_back(std::static_pointer_cast<XmlElement>(child));
    }
  }
  return elements;
}

std::vector<XmlElementPtr> XmlElement::elementsForLocalName(const std::string& localName,
                                                            const std::string& URI) const {
  std::vector<XmlElementPtr> elements;
  const std::string fake = fakeQName(URI, localName);
  for (const XmlNodePtr& child : children()) {
    xmlNodePtr node = child->XMLNode();
    if (node->type != XML_ELEMENT_NODE) continue;
    bool matches = false;
    if (node->ns != nullptr) {
      matches = equals(node->name, localName) && node->ns == xmlSearchNsByHref(node->doc, node, xmlChars(URI));
    } else {
      matches = equals(node->name, fake);
    }
    if (matches) elements.push_back(std::static_pointer_cast<XmlElement>(child));
  }
  return elements;
}

std::vector<XmlNodePtr> XmlElement::namespaces() const {
  std::vector<XmlNodePtr> nodes;
  if (XMLNode() == nullptr) return nodes;
  for (xmlNsPtr ns = XMLNode()->nsDef; ns != nullptr; ns = ns->next) {
    if (ns->prefix != nullptr && xmlStrEqual(ns->prefix, BAD_CAST "xml")) continue;
    nodes.push_back(wrap(reinterpret_cast<xmlNodePtr>(ns)));
  }
  return nodes;
}

std::optional<std::string> XmlElement::resolvePrefixForNamespaceURI(const std::string& URI) const {
  if (XMLNode() == nullptr) return std::nullopt;
  xmlNsPtr ns = xmlSearchNsByHref(XMLNode()->doc, XMLNode(), xmlChars(URI));
  if (ns == nullptr) return std::nullopt;
  return ns->prefix != nullptr ? std::string(reinterpret_cast<const char*>(ns->prefix)) : std::string();
}

void XmlElement::addChild(const XmlNode& child) {
  switch (child.kind()) {
    case XmlNodeKind::Attribute:
      return addAttribute(child);
    case XmlNodeKind::Namespace:
      return addNamespace(child);
    case XmlNodeKind::Document:
    case XmlNodeKind::Invalid:
      return;
    default:
      break;
  }
  if (XMLNode() == nullptr) return;
  releaseCachedValues();
  xmlNodePtr copy = xmlDocCopyNode(child.XMLNode(), XMLNode()->doc, 1);
  if (copy == nullptr) return;
  // A text copy may be merged into the last text child: only the answer is still valid.
  xmlNodePtr added = xmlAddChild(XMLNode(), copy);
  if (added == nullptr) {
    xmlFreeNode(copy);
    return;
  }
  XmlNamespaceFixer::fixUpNamespacesForNode(added, XMLNode(), tree().get());
}

void XmlElement::removeChild(const XmlNode& child) {
  xmlNodePtr node = child.XMLNode();
  if (XMLNode() == nullptr || node == nullptr || node->type == XML_NAMESPACE_DECL) return;
  if (node->parent != XMLNode()) return;  // not ours to unlink
  releaseCachedValues();
  xmlUnlinkNode(node);
  if (child.shouldFreeXMLNode()) return;  // its wrapper frees it
  if (tree())
    tree()->keepDetached(node);
  else
    xmlFreeNode(node);
}

void XmlElement::addAttribute(const XmlNode& attribute) {
  if (XMLNode() == nullptr || attribute.kind() != XmlNodeKind::Attribute) return;
  xmlAttrPtr attr = reinterpret_cast<xmlAttrPtr>(attribute.XMLNode());
  xmlAttrPtr existing = attr->ns == nullptr ? xmlHasProp(XMLNode(), attr->name)
                                            : xmlHasNsProp(XMLNode(), attr->name, attr->ns->href);
  if (existing != nullptr) return;
  releaseCachedValues();
  xmlNsPtr ns = nullptr;
  if (attr->ns != nullptr) {
    ns = xmlSearchNsByHref(XMLNode()->doc, XMLNode(), attr->ns->href);
    if (ns == nullptr) ns = xmlNewNs(XMLNode(), attr->ns->href, attr->ns->prefix);
  }
  xmlChar* value = xmlNodeGetContent(asNode(attr));
  xmlAttrPtr added = xmlNewNsProp(XMLNode(), ns, attr->name, value);
  xmlFree(value);
  if (added != nullptr) XmlNamespaceFixer::fixUpNamespacesForNode(asNode(added), XMLNode(), tree().get());
}

void XmlElement::addNamespace(const XmlNode& aNamespace) {
  if (XMLNode() == nullptr || aNamespace.kind() != XmlNodeKind::Namespace) return;
  releaseCachedValues();
  xmlNsPtr ns = xmlNamespaceNode(aNamespace.XMLNode());
  xmlNewNs(XMLNode(), ns->href, ns->prefix);
  XmlNamespaceFixer::fixUpNamespacesForNode(XMLNode(), XMLNode(), tree().get());
}

void XmlElement::setNamespaces(const std::vector<XmlNodePtr>& namespaces) {
  if (XMLNode() == nullptr) return;
  releaseCachedValues();
  // The "xml" declarations libxml2 makes on elements without a document stay: namespaces() never
  // lists them, and what uses them could not be bound to that namespace under another prefix.
  xmlNsPtr old = nullptr;
  xmlNsPtr* keptLink = &XMLNode()->nsDef;
  xmlNsPtr* oldLink = &old;
  for (xmlNsPtr ns = XMLNode()->nsDef, next = nullptr; ns != nullptr; ns = next) {
    next = ns->next;
    ns->next = nullptr;
    xmlNsPtr*& link = xmlStrEqual(ns->href, XML_XML_NAMESPACE) ? keptLink : oldLink;
    *link = ns;
    link = &ns->next;
  }
  *keptLink = nullptr;
  for (const XmlNodePtr& node : namespaces) {
    if (!node || node->kind() != XmlNodeKind::Namespace) continue;
    xmlNsPtr ns = xmlNamespaceNode(node->XMLNode());
    xmlNewNs(XMLNode(), ns->href, ns->prefix);
  }
  std::set<xmlNsPtr> dropped;
  for (xmlNsPtr ns = old; ns != nullptr; ns = ns->next) dropped.insert(ns);
  repointNamespaces(XMLNode(), XMLNode(), dropped);
  // Removed children and namespace wrappers may still use the old declarations.
  if (tree())
    tree()->keepDetached(old);
  else
    xmlFreeNsList(old);
  XmlNamespaceFixer::fixUpNamespacesForNode(XMLNode(), XMLNode(), tree().get());
}

void XmlElement::releaseCachedValues() {
  XmlNode::releaseCachedValues();
  cachedAttributes_.reset();
}
