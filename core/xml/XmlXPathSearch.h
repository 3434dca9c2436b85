#pragma once
// One XPath evaluation from a context node. A node without a document is searched inside a temporary
// document made around its topmost ancestor and detached again afterwards; that document's node is
// left out of the answer. Without a namespace map, the
// context node's own namespaces are registered, the default one under "_def_ns".

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Error.h"

struct _xmlNode;

class XmlXPathSearch {
 public:
  // The node-set's nodes, in its order; namespace nodes are fresh copies that the caller owns, every
  // other node belongs to the context node's tree. nullopt on failure, with error set when given.
  static std::optional<std::vector<_xmlNode*>> nodesForXPath(
      _xmlNode* context, const std::string& xpath, const std::map<std::string, std::string>* namespaces,
      pf::ErrorPtr* error);
};
