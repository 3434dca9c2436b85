#pragma once
// What the reflection layer knows of one declared property: its type name and code, whether it is
// read-only, and for array properties the element type once known.

#include <map>
#include <memory>
#include <string>

#include "platform/runtime/Class.h"

class PropertyInfo {
 public:
  PropertyInfo(unsigned typeCode, std::string typeName);
  PropertyInfo(unsigned typeCode, std::string typeName, unsigned arrTypeCode, std::string arrTypeName);
  // Codes taken from the type-code table.
  static PropertyInfo initWithTypeName(const std::string& typeName);
  static PropertyInfo initWithTypeName(const std::string& typeName, const std::string& arrTypeName);

  void setArrTypeWithTypeName(const std::string& arrTypeName);

  std::string typeName;
  unsigned typeCode = 0;
  bool readonly = false;
  std::string arrTypeName;
  unsigned arrTypeCode = 0;
  // The runtime property behind this entry, for fast reads and writes; null for entries built from
  // sample values.
  const pf::Property* property = nullptr;
};

using PropertyDictionary = std::map<std::string, PropertyInfo>;
using PropertyDictionaryPtr = std::shared_ptr<const PropertyDictionary>;
