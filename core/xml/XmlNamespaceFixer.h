#pragma once
// Resolves namespaces of a subtree just grafted into a tree: names still written "prefix:local" or
// "{URI}:local" take the namespace in scope at the graft point, and declarations that the graft point
// already has in scope (same prefix and URI) are dropped in favour of the existing ones. Dropped
// declarations go to the tree (removed nodes may still use them), or are freed without one.

struct _xmlNode;
class XmlTreeOwner;

class XmlNamespaceFixer {
 public:
  static void fixUpNamespacesForNode(_xmlNode* node, _xmlNode* graftPoint, XmlTreeOwner* tree);
};
