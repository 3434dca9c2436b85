#pragma once
// A parsed or built XML document. Parsing always uses the XML layer's fixed settings (see XmlParser):
// CDATA reads as text, blank text between elements is dropped, and nothing is fetched from files or the
// network. Wrappers handed out by the document keep its tree alive. Not thread-safe.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/xml/XmlElement.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Value.h"

struct _xmlDoc;

class XmlDocument {
 public:
  // The options are ignored: the parser settings are fixed. nullptr with a code -1 error of kXmlErrorDomain
  // when the bytes are not a well-formed document.
  static std::shared_ptr<XmlDocument> initWithData(const pf::Data& data, int options, pf::ErrorPtr* error);
  static std::shared_ptr<XmlDocument> initWithXMLString(const std::string& text, int options,
                                                        pf::ErrorPtr* error);
  // A new version "1.0" document whose root is a deep copy of the element.
  static std::shared_ptr<XmlDocument> initWithRootElement(const XmlElement& element);

  XmlDocument(const XmlDocument&) = delete;
  XmlDocument& operator=(const XmlDocument&) = delete;

  XmlElementPtr rootElement() const;
  // The whole document with its XML declaration; nullopt when it cannot be written.
  std::optional<pf::Data> XMLData() const;
  void setVersion(const std::optional<std::string>& version);
  void setCharacterEncoding(const std::optional<std::string>& encoding);

  // XPath from the document node; see XmlNode::nodesForXPath.
  std::optional<std::vector<XmlNodePtr>> nodesForXPath(const std::string& xpath, pf::ErrorPtr* error) const;
  std::optional<std::vector<XmlNodePtr>> nodesForXPath(const std::string& xpath,
                                                       const std::map<std::string, std::string>& namespaces,
                                                       pf::ErrorPtr* error) const;
  std::string description() const;

 private:
  explicit XmlDocument(_xmlDoc* doc);
  XmlNodePtr documentNode() const;

  _xmlDoc* xmlDoc_;
  std::shared_ptr<XmlTreeOwner> tree_;
};
