#pragma once
// Our strings as libxml2's unsigned characters and back-casts of its node kinds, for the XML classes'
// own sources (libxml2 stays out of their public headers).

#include <libxml/tree.h>

#include <string>

inline const xmlChar* xmlChars(const std::string& text) {
  return reinterpret_cast<const xmlChar*>(text.c_str());
}

// A namespace declaration reached through a node pointer (libxml2 links them into node lists).
inline xmlNsPtr xmlNamespaceNode(xmlNodePtr node) {
  return reinterpret_cast<xmlNsPtr>(node);
}
