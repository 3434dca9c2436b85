#pragma once
// An element of an XML tree: its attributes, child elements by name, namespaces, and the changes that
// graft copies of other nodes into it. See XmlNode for ownership and threads.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/xml/XmlNode.h"

struct _xmlAttr;

class XmlElement : public XmlNode {
 public:
  using XmlNode::XmlNode;

  // Parses the text and keeps an owned copy of its root element; nullptr with a code -1 error when the
  // text is not well-formed.
  static XmlElementPtr initWithXMLString(const std::string& text, pf::ErrorPtr* error);

  // In document order, read once; empty when there are none.
  std::vector<XmlNodePtr> attributes() const;
  // The attribute of exactly that name; failing that, a "prefix:local" name is looked up by local name
  // in the namespace the prefix resolves to (none when it does not resolve). nullptr when none.
  XmlNodePtr attributeForName(const std::string& name) const;
  XmlNodePtr attributeForLocalName(const std::string& localName, const std::string& URI) const;
  XmlNodePtr attributeForXMLNode(_xmlAttr* attribute) const;

  // Child elements by qualified name (a resolvable prefix searches by namespace URI); empty when none.
  std::vector<XmlElementPtr> elementsForName(const std::string& name) const;
  std::vector<XmlElementPtr> elementsForLocalName(const std::string& localName, const std::string& URI) const;

  // Namespaces declared on this element, without the "xml" one; empty when none.
  std::vector<XmlNodePtr> namespaces() const;
  // The prefix bound to the URI in scope, "" for a default namespace, nullopt when it is not bound.
  std::optional<std::string> resolvePrefixForNamespaceURI(const std::string& URI) const;

  // Appends a deep copy (an attribute goes to addAttribute, a namespace to addNamespace).
  void addChild(const XmlNode& child);
  // Unlinks a child of this element. Its subtree stays alive as long as this tree, so wrappers that
  // point into it stay valid.
  void removeChild(const XmlNode& child);
  // Copies the attribute in unless one of that name (in that namespace) is already there.
  void addAttribute(const XmlNode& attribute);
  void addNamespace(const XmlNode& aNamespace);
  // Replaces every declaration with copies of the given ones; nodes that used a dropped declaration
  // move to an equal one in scope, or get it declared again on this element.
  void setNamespaces(const std::vector<XmlNodePtr>& namespaces);

 protected:
  void releaseCachedValues() override;

 private:
  mutable std::optional<std::vector<XmlNodePtr>> cachedAttributes_;
};
