#pragma once
// Parses XML text with the XML layer's fixed settings, whatever a caller asks for: CDATA sections become
// text, whitespace-only text between elements is dropped, and the parser never touches the network,
// never expands entities and never loads a DTD, so untrusted text cannot make it read files or URLs.

#include <cstddef>

#include "platform/foundation/Error.h"

struct _xmlDoc;

class XmlParser {
 public:
  // A new document the caller owns, or nullptr with an error of the XML domain, code -1, whose
  // description names the first fault and its line.
  static _xmlDoc* parse(const char* bytes, std::size_t size, pf::ErrorPtr* error);
  // Sets up libxml2 once per process; safe from any thread.
  static void initialize();
};
