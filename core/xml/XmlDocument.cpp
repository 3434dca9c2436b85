#include "core/xml/XmlDocument.h"

#include <libxml/tree.h>

#include <cstdio>

#include "core/xml/XmlParser.h"
#include "core/xml/XmlTreeOwner.h"

namespace {

xmlChar* copyOrNull(const std::optional<std::string>& text) {
  return text ? xmlStrdup(reinterpret_cast<const xmlChar*>(text->c_str())) : nullptr;
}

}  // namespace

std::shared_ptr<XmlDocument> XmlDocument::initWithData(const pf::Data& data, int /*options*/,
                                                       pf::ErrorPtr* error) {
  xmlDocPtr doc = XmlParser::parse(reinterpret_cast<const char*>(data.data()), data.size(), error);
  if (doc == nullptr) return nullptr;
  return std::shared_ptr<XmlDocument>(new XmlDocument(doc));
}

std::shared_ptr<XmlDocument> XmlDocument::initWithXMLString(const std::string& text, int /*options*/,
                                                            pf::ErrorPtr* error) {
  xmlDocPtr doc = XmlParser::parse(text.data(), text.size(), error);
  if (doc == nullptr) return nullptr;
  return std::shared_ptr<XmlDocument>(new XmlDocument(doc));
}

std::shared_ptr<XmlDocument> XmlDocument::initWithRootElement(const XmlElement& element) {
  xmlDocPtr doc = xmlNewDoc(nullptr);
  if (doc == nullptr) return nullptr;
  std::shared_ptr<XmlDocument> document(new XmlDocument(doc));
  if (xmlNodePtr root = xmlDocCopyNode(element.XMLNode(), doc, 1)) xmlDocSetRootElement(doc, root);
  return document;
}

XmlDocument::XmlDocument(_xmlDoc* doc) : xmlDoc_(doc), tree_(XmlTreeOwner::ofDocument(doc)) {}

XmlElementPtr XmlDocument::rootElement() const {
  xmlNodePtr root = xmlDocGetRootElement(xmlDoc_);
  if (root == nullptr) return nullptr;
  return std::make_shared<XmlElement>(root, tree_, false);
}

std::optional<pf::Data> XmlDocument::XMLData() const {
  xmlChar* bytes = nullptr;
  int size = 0;
  xmlDocDumpMemory(xmlDoc_, &bytes, &size);
  if (bytes == nullptr) return std::nullopt;
  pf::Data data(bytes, bytes + size);
  xmlFree(bytes);
  return data;
}

void XmlDocument::setVersion(const std::optional<std::string>& version) {
  xmlFree(const_cast<xmlChar*>(xmlDoc_->version));
  xmlDoc_->version = copyOrNull(version);
}

void XmlDocument::setCharacterEncoding(const std::optional<std::string>& encoding) {
  xmlFree(const_cast<xmlChar*>(xmlDoc_->encoding));
  xmlDoc_->encoding = copyOrNull(encoding);
}

std::optional<std::vector<XmlNodePtr>> XmlDocument::nodesForXPath(const std::string& xpath,
                                                                  pf::ErrorPtr* error) const {
  return documentNode()->nodesForXPath(xpath, error);
}

std::optional<std::vector<XmlNodePtr>> XmlDocument::nodesForXPath(
    const std::string& xpath, const std::map<std::string, std::string>& namespaces,
    pf::ErrorPtr* error) const {
  return documentNode()->nodesForXPath(xpath, namespaces, error);
}

std::string XmlDocument::description() const {
  char text[64];
  std::snprintf(text, sizeof text, "XmlDocument %p", static_cast<const void*>(this));
  return text;
}

XmlNodePtr XmlDocument::documentNode() const {
  return std::make_shared<XmlNode>(reinterpret_cast<xmlNodePtr>(xmlDoc_), tree_, false);
}
