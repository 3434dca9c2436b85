#pragma once
// Fills objects from XML elements by property name, with no per-class code. Attributes set the
// properties they name from their text (converted by the property's type code; other attributes are
// skipped), child elements fill the same object, so wrapper elements only group, and an element with an
// "elementType" attribute becomes the array property of its own name, one new object per child element.
// Only element children count; comments and text between elements are ignored.

#include <string>
#include <vector>

#include "core/xml/XmlElement.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/Object.h"

class XmlElementReflection {
 public:
  // A new object of the registered class, filled from the element. An unknown class is a contract fault.
  static pf::ObjectPtr readObjectWithClassName(const XmlElement& element, const std::string& className);
  // One such object per child element, in document order.
  static pf::ArrayPtr readObjectsWithClassName(const XmlElement& element, const std::string& className);
  static void setObjectValues(const XmlElement& element, pf::Object& object);
  static void setObjectValues(const XmlElement& element, pf::Object& object,
                              const std::vector<XmlNodePtr>& attributes);
};
