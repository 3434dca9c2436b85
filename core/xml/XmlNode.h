#pragma once
// A node of an XML tree over libxml2: element, attribute, text, namespace and the rest.
//
// A wrapper either owns its node (made by the factories, parsed by XmlElement::initWithXMLString,
// copied, or consumed) or borrows it from the tree it was handed out from (children, attributes,
// namespaces, XPath results). Every wrapper holds the tree its node lives in, so a borrowed wrapper stays
// valid after the document or element that handed it out is gone. Adding a child or an attribute always
// copies it into the target tree. Names, children and attributes are read once per wrapper and dropped
// by any change made through that wrapper.
//
// Not thread-safe: a tree and its wrappers are used by one thread at a time.

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Error.h"

struct _xmlNode;

class XmlNode;
class XmlElement;
class XmlTreeOwner;
using XmlNodePtr = std::shared_ptr<XmlNode>;
using XmlElementPtr = std::shared_ptr<XmlElement>;

// The error domain of parse and XPath failures.
inline constexpr char kXmlErrorDomain[] = "com.marlune.xml";

enum class XmlNodeKind {
  Invalid = 0,
  Document = 1,
  Element = 2,
  Attribute = 3,
  Namespace = 4,
  ProcessingInstruction = 5,
  Comment = 6,
  Text = 7,
  DTD = 8,
  EntityDeclaration = 9,
  AttributeDeclaration = 10,
  ElementDeclaration = 11,
  NotationDeclaration = 12,
};

class XmlNode {
 public:
  // Wrappers of an existing node; element nodes get an XmlElement. Consuming takes ownership of a node
  // that no tree holds; borrowing leaves the node's lifetime to the caller.
  static XmlNodePtr nodeConsumingXMLNode(_xmlNode* node);
  static XmlNodePtr nodeBorrowingXMLNode(_xmlNode* node);

  // New owning nodes; nullptr when libxml2 fails.
  static XmlElementPtr elementWithName(const std::string& name);
  static XmlElementPtr elementWithName(const std::string& name, const std::string& stringValue);
  // An element in the namespace of that URI, named "{URI}:local" until it is grafted into a tree that
  // declares the namespace.
  static XmlElementPtr elementWithNameURI(const std::string& name, const std::string& URI);
  static XmlNodePtr attributeWithName(const std::string& name, const std::string& stringValue);
  static XmlNodePtr attributeWithName(const std::string& name, const std::string& URI,
                                      const std::string& stringValue);
  static XmlNodePtr textWithStringValue(const std::string& stringValue);
  // The name is the prefix (empty for a default namespace), the value the URI.
  static XmlNodePtr namespaceWithName(const std::string& name, const std::string& stringValue);

  // The part after the first ":", or the whole name when there is none or it is the last character.
  static std::string localNameForName(const std::string& name);
  // The part before the first ":", or nullopt.
  static std::optional<std::string> prefixForName(const std::string& name);

  // A wrapper of node inside the tree that tree keeps alive (nullptr: the caller keeps it alive);
  // owning: the wrapper frees the node, which must then be the top of its own tree.
  XmlNode(_xmlNode* node, std::shared_ptr<XmlTreeOwner> tree, bool owning);
  virtual ~XmlNode() = default;
  XmlNode(const XmlNode&) = delete;
  XmlNode& operator=(const XmlNode&) = delete;

  // The qualified name, read once; nullopt for a node without a name (a document).
  std::optional<std::string> name() const;
  // Namespace node: its prefix ("" for a default namespace); others "prefix:name" or the plain name.
  std::optional<std::string> qualifiedName() const;
  std::optional<std::string> localName() const;
  // The namespace prefix, "" when there is none.
  std::string prefix() const;
  std::optional<std::string> URI() const;
  // Namespace node: its URI; others the text content (all descendant text of an element, an
  // attribute's value); nullopt when there is none.
  std::optional<std::string> stringValue() const;
  // The node serialised without formatting, trimmed of surrounding whitespace.
  std::string XMLString() const;

  // Every child node of every kind, in document order; empty when there are none.
  std::vector<XmlNodePtr> children() const;
  std::size_t childCount() const;
  XmlNodePtr childAtIndex(std::size_t index) const;
  XmlNodeKind kind() const;

  _xmlNode* XMLNode() const { return xmlNode_; }
  // A deep copy that the caller owns.
  _xmlNode* XMLNodeCopy() const;
  bool shouldFreeXMLNode() const { return shouldFreeXMLNode_; }
  // An owning wrapper of a deep copy.
  XmlNodePtr copy() const;

  // The same node, or the same kind with equal names and the same number of children.
  bool isEqual(const XmlNode& other) const;
  std::size_t hash() const { return 0x786d6cu; }  // equal nodes may have different content
  virtual std::string description() const;

  // Namespace node: replaces its URI; others replace their content with the text taken literally.
  void setStringValue(const std::string& value);

  // XPath search from this node. nullopt on failure (error: the XPath code and {"error": message});
  // otherwise the node-set, possibly empty. Without a namespace map this node's own namespaces are
  // registered, the default one under "_def_ns".
  std::optional<std::vector<XmlNodePtr>> nodesForXPath(const std::string& xpath, pf::ErrorPtr* error) const;
  std::optional<std::vector<XmlNodePtr>> nodesForXPath(const std::string& xpath,
                                                       const std::map<std::string, std::string>& namespaces,
                                                       pf::ErrorPtr* error) const;

 protected:
  // A borrowing wrapper of another node of this wrapper's tree.
  XmlNodePtr wrap(_xmlNode* node) const;
  const std::shared_ptr<XmlTreeOwner>& tree() const { return tree_; }
  virtual void releaseCachedValues();

 private:
  std::optional<std::vector<XmlNodePtr>> search(const std::string& xpath,
                                                const std::map<std::string, std::string>* namespaces,
                                                pf::ErrorPtr* error) const;

  _xmlNode* xmlNode_;
  std::shared_ptr<XmlTreeOwner> tree_;
  bool shouldFreeXMLNode_;
  mutable std::optional<std::optional<std::string>> cachedName_;
  mutable std::optional<std::vector<XmlNodePtr>> cachedChildren_;
};
