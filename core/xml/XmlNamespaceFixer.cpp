#include "core/xml/XmlNamespaceFixer.h"
#include "core/xml/XmlChars.h"

#include <libxml/tree.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/xml/XmlTreeOwner.h"

namespace {

xmlNsPtr namespaceOfNode(xmlNodePtr node) {
  return node->type == XML_ATTRIBUTE_NODE ? reinterpret_cast<xmlAttrPtr>(node)->ns : node->ns;
}

bool samePrefix(const xmlChar* a, const xmlChar* b) {
  return (a == nullptr && b == nullptr) || (a != nullptr && b != nullptr && xmlStrEqual(a, b));
}

// One fix-up run: declarations dropped on the way go to the tree at its end, or are freed then when
// there is no tree.
class Run {
 public:
  Run(xmlNodePtr graftPoint, XmlTreeOwner* tree) : graftPoint_(graftPoint), tree_(tree) {}
  ~Run() {
    for (xmlNsPtr ns : dropped_) {
      if (tree_ != nullptr)
        tree_->keepDetached(ns);
      else
        xmlFreeNs(ns);
    }
  }
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;

  void fixUp(xmlNodePtr node) {
    if (node->type != XML_ELEMENT_NODE && node->type != XML_ATTRIBUTE_NODE) return;
    fixQualifiedName(node);
    if (node->type == XML_ELEMENT_NODE) dropDuplicateDeclarations(node);
    followSubstitution(node);
    if (node->type != XML_ELEMENT_NODE) return;
    for (xmlNodePtr child = node->children; child != nullptr; child = child->next) fixUp(child);
    for (xmlAttrPtr attr = node->properties; attr != nullptr; attr = attr->next) {
      fixUp(reinterpret_cast<xmlNodePtr>(attr));
    }
  }

 private:
  xmlNsPtr findByPrefixOrURI(const std::optional<std::string>& prefix) const {
    if (prefix && prefix->size() > 2 && prefix->front() == '{' && prefix->back() == '}') {
      const std::string uri = prefix->substr(1, prefix->size() - 2);
      if (xmlNsPtr ns = xmlSearchNsByHref(graftPoint_->doc, graftPoint_, xmlChars(uri))) return ns;
    }
    return xmlSearchNs(graftPoint_->doc, graftPoint_, prefix ? xmlChars(*prefix) : nullptr);
  }

  void fixQualifiedName(xmlNodePtr node) const {
    if (namespaceOfNode(node) != nullptr || node->name == nullptr) return;
    const std::string name(reinterpret_cast<const char*>(node->name));
    const auto colon = name.rfind(':');
    if (colon != std::string::npos && colon + 1 == name.size()) return;  // "prefix:" names nothing
    std::optional<std::string> prefix;
    if (colon != std::string::npos && colon > 0) prefix = name.substr(0, colon);
    const std::string local = colon == std::string::npos ? name : name.substr(colon + 1);
    if (xmlNsPtr ns = findByPrefixOrURI(prefix)) {
      xmlSetNs(node, ns);
      xmlNodeSetName(node, xmlChars(local));
    }
  }

  // The XML namespace is left alone: it is bound by definition, and searching for it from an element
  // without a document makes libxml2 declare it on that element, inside the very list walked here.
  void dropDuplicateDeclarations(xmlNodePtr element) {
    xmlNsPtr* link = &element->nsDef;
    while (xmlNsPtr ns = *link) {
      if (xmlStrEqual(ns->href, XML_XML_NAMESPACE)) {
        link = &ns->next;
        continue;
      }
      xmlNsPtr existing = xmlSearchNsByHref(graftPoint_->doc, graftPoint_, ns->href);
      if (existing != nullptr && existing != ns && samePrefix(existing->prefix, ns->prefix)) {
        *link = ns->next;
        ns->next = nullptr;
        substitutions_[ns] = existing;
        dropped_.push_back(ns);
      } else {
        link = &ns->next;
      }
    }
  }

  void followSubstitution(xmlNodePtr node) const {
    xmlNsPtr ns = namespaceOfNode(node);
    if (ns == nullptr) return;
    const auto found = substitutions_.find(ns);
    if (found != substitutions_.end()) xmlSetNs(node, found->second);
  }

  xmlNodePtr graftPoint_;
  XmlTreeOwner* tree_;
  std::map<xmlNsPtr, xmlNsPtr> substitutions_;
  std::vector<xmlNsPtr> dropped_;
};

}  // namespace

void XmlNamespaceFixer::fixUpNamespacesForNode(_xmlNode* node, _xmlNode* graftPoint, XmlTreeOwner* tree) {
  if (node == nullptr || graftPoint == nullptr) return;
  Run run(graftPoint, tree);
  run.fixUp(node);
}
