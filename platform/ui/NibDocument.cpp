#include "platform/ui/NibDocument.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/foundation/Error.h"

namespace pf {

namespace {

// An attribute's text as written: entity references stay "&name;", never expanded, so a small file
// cannot grow into a huge value. Character references and the predefined entities are already text.
std::string attributeText(const xmlAttr* attribute) {
  std::string text;
  for (const xmlNode* part = attribute->children; part; part = part->next) {
    if (part->type == XML_TEXT_NODE && part->content) {
      text += reinterpret_cast<const char*>(part->content);
    } else if (part->type == XML_ENTITY_REF_NODE && part->name) {
      text += '&';
      text += reinterpret_cast<const char*>(part->name);
      text += ';';
    }
  }
  return text;
}

NibNode convert(xmlNode* element) {
  NibNode node;
  node.name = reinterpret_cast<const char*>(element->name);
  node.line = static_cast<int>(xmlGetLineNo(element));
  for (xmlAttr* a = element->properties; a; a = a->next) {
    node.attributes.emplace_back(reinterpret_cast<const char*>(a->name), attributeText(a));
  }
  for (xmlNode* child = element->children; child; child = child->next) {
    if (child->type == XML_ELEMENT_NODE) node.children.push_back(convert(child));
  }
  return node;
}

}  // namespace

std::shared_ptr<const NibNode> NibDocument::readFile(const std::string& path) {
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(path, ignored)) {
    throw ContractViolation(path + ": no such interface file");
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ContractViolation(path + ": cannot read the interface file");
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  return read(bytes, path);
}

std::shared_ptr<const NibNode> NibDocument::read(std::string_view bytes, const std::string& path) {
  std::unique_ptr<xmlParserCtxt, decltype(&xmlFreeParserCtxt)> context(xmlNewParserCtxt(),
                                                                       &xmlFreeParserCtxt);
  if (!context) throw ContractViolation(path + ": cannot read the interface file");
  std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> doc(
      xmlCtxtReadMemory(context.get(), bytes.data(), static_cast<int>(bytes.size()), path.c_str(), nullptr,
                        XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
      &xmlFreeDoc);
  xmlNode* root = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
  if (!root) {
    const xmlError* error = xmlCtxtGetLastError(context.get());
    std::string message = error && error->message ? error->message : "not well-formed XML";
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
    throw ContractViolation(path + ":" + std::to_string(error ? error->line : 0) + ": " + message);
  }
  return std::make_shared<const NibNode>(convert(root));
}

}  // namespace pf
