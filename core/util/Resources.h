#pragma once
// A property-list resource of a bundle (a dictionary at the top) with typed lookups, such as the
// application's code-to-text dictionaries in "CollectionDefine". Lookups into a value of the wrong
// kind are build faults and throw ContractViolation. Immutable after loading; safe on any thread.

#include <optional>
#include <string>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Value.h"

class Resources {
 public:
  // Loads "<resourceName>.plist" of the bundle; throws as PlistUtil::dicWithResourceName does.
  Resources(const std::optional<std::string>& resourceName, const pf::Bundle& inBundle);

  // The top-level value, or nil.
  pf::Value valueForResourceKey(const std::string& key) const;
  // The value for key in the top-level dictionary named inDictionary, or nil.
  pf::Value valueForResourceKey(const std::string& key, const std::string& inDictionary) const;
  // The element at index of the top-level array named inArray; out of range throws "NSRangeException".
  pf::Value valueForResourceIndex(unsigned index, const std::string& inArray) const;

  pf::DictionaryPtr dic;
  std::string resourceName;
};
