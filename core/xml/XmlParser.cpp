#include "core/xml/XmlParser.h"

#include <libxml/parser.h>

#include <climits>
#include <memory>
#include <string>

#include "core/xml/XmlNode.h"

namespace {

// XML_PARSE_NOCDATA | XML_PARSE_NOBLANKS, plus no network and no error printing.
constexpr int kParseOptions =
    XML_PARSE_NOCDATA | XML_PARSE_NOBLANKS | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

struct ParserContextDeleter {
  void operator()(xmlParserCtxtPtr ctxt) const { xmlFreeParserCtxt(ctxt); }
};

std::string trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

pf::ErrorPtr parseError(const xmlError* cause) {
  std::string description = "The XML text is not well-formed";
  if (cause != nullptr && cause->message != nullptr) {
    description += " (line " + std::to_string(cause->line) + "): " + trimmed(cause->message);
  }
  return std::make_shared<pf::Error>(kXmlErrorDomain, -1,
                                     pf::Dictionary{{pf::kLocalizedDescriptionKey, description}});
}

}  // namespace

void XmlParser::initialize() {
  static const bool initialized = [] {
    xmlInitParser();
    return true;
  }();
  (void)initialized;
}

_xmlDoc* XmlParser::parse(const char* bytes, std::size_t size, pf::ErrorPtr* error) {
  initialize();
  if (error != nullptr) *error = nullptr;
  if (size > static_cast<std::size_t>(INT_MAX)) {
    if (error != nullptr) *error = parseError(nullptr);
    return nullptr;
  }
  std::unique_ptr<xmlParserCtxt, ParserContextDeleter> ctxt(xmlNewParserCtxt());
  if (!ctxt) {
    if (error != nullptr) *error = parseError(nullptr);
    return nullptr;
  }
  // An empty text still needs a valid buffer pointer.
  xmlDocPtr doc = xmlCtxtReadMemory(ctxt.get(), size == 0 ? "" : bytes, static_cast<int>(size), nullptr,
                                    nullptr, kParseOptions);
  if (doc == nullptr && error != nullptr) *error = parseError(xmlCtxtGetLastError(ctxt.get()));
  return doc;
}
