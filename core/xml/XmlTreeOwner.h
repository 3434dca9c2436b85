#pragma once
// Keeps one libxml2 tree alive: a parsed or built document, or a node that belongs to no document.
// Every wrapper of a node in the tree holds its owner, so a wrapper handed out by a document or an
// element stays valid after the document or element is gone. Subtrees unlinked from the tree are kept
// here too, because wrappers may still point into them; they are freed with the tree. So are namespace
// declarations taken off an element: removed nodes and namespace wrappers may still use them.
// Used by one thread at a time, like the tree itself.

#include <memory>
#include <vector>

struct _xmlDoc;
struct _xmlNode;
struct _xmlNs;

class XmlTreeOwner {
 public:
  static std::shared_ptr<XmlTreeOwner> ofDocument(_xmlDoc* doc);
  // A node of any kind (document, element, attribute, namespace and the rest) that no tree holds.
  static std::shared_ptr<XmlTreeOwner> ofNode(_xmlNode* node);

  XmlTreeOwner(_xmlDoc* doc, _xmlNode* node);
  ~XmlTreeOwner();
  XmlTreeOwner(const XmlTreeOwner&) = delete;
  XmlTreeOwner& operator=(const XmlTreeOwner&) = delete;

  // Takes a subtree just unlinked from this tree; it is freed with the tree.
  void keepDetached(_xmlNode* node);
  // Takes a list of declarations just taken off an element of this tree; it is freed with the tree.
  void keepDetached(_xmlNs* declarations);

 private:
  _xmlDoc* doc_;
  _xmlNode* node_;
  std::vector<_xmlNode*> detached_;
  std::vector<_xmlNs*> detachedDeclarations_;
};
