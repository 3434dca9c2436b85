#include "core/xml/XmlTreeOwner.h"

#include <libxml/tree.h>

namespace {

void freeAnyNode(xmlNodePtr node) {
  switch (node->type) {
    case XML_DOCUMENT_NODE:
    case XML_HTML_DOCUMENT_NODE:
      xmlFreeDoc(reinterpret_cast<xmlDocPtr>(node));
      break;
    default:
      xmlFreeNode(node);  // handles attributes, namespaces and DTDs by their own kind
  }
}

}  // namespace

std::shared_ptr<XmlTreeOwner> XmlTreeOwner::ofDocument(_xmlDoc* doc) {
  return std::make_shared<XmlTreeOwner>(doc, nullptr);
}

std::shared_ptr<XmlTreeOwner> XmlTreeOwner::ofNode(_xmlNode* node) {
  return std::make_shared<XmlTreeOwner>(nullptr, node);
}

XmlTreeOwner::XmlTreeOwner(_xmlDoc* doc, _xmlNode* node) : doc_(doc), node_(node) {}

XmlTreeOwner::~XmlTreeOwner() {
  // Detached subtrees may take their names from the document's dictionary: free them first.
  for (xmlNodePtr node : detached_) xmlFreeNode(node);
  if (node_ != nullptr) freeAnyNode(node_);
  if (doc_ != nullptr) xmlFreeDoc(doc_);
  for (xmlNsPtr list : detachedDeclarations_) xmlFreeNsList(list);
}

void XmlTreeOwner::keepDetached(_xmlNode* node) {
  detached_.push_back(node);
}

void XmlTreeOwner::keepDetached(_xmlNs* declarations) {
  if (declarations != nullptr) detachedDeclarations_.push_back(declarations);
}
