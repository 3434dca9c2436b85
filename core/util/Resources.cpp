#include "core/util/Resources.h"

#include "core/util/PlistUtil.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Format.h"

Resources::Resources(const std::optional<std::string>& resourceName, const pf::Bundle& inBundle)
    : dic(PlistUtil::dicWithResourceName(resourceName, inBundle)), resourceName(resourceName.value_or("")) {}

pf::Value Resources::valueForResourceKey(const std::string& key) const {
  if (!dic) return {};
  auto found = dic->find(key);
  return found == dic->end() ? pf::Value() : found->second;
}

pf::Value Resources::valueForResourceKey(const std::string& key, const std::string& inDictionary) const {
  pf::Value named = valueForResourceKey(inDictionary);
  if (!named.isDictionary()) {
    throw pf::ContractViolation(
        pf::format("value named: %@ in resource %@ is not Dictionary type!", inDictionary, resourceName));
  }
  return named[key];
}

pf::Value Resources::valueForResourceIndex(unsigned index, const std::string& inArray) const {
  pf::Value named = valueForResourceKey(inArray);
  if (!named.isArray()) {
    throw pf::ContractViolation(
        pf::format("value named: %@ in resource %@ is not Array type!", inArray, resourceName));
  }
  const pf::Array& array = *named.array();
  if (index >= array.size()) {
    throw pf::ContractViolation(pf::format("index %u beyond bounds of array named: %@", index, inArray),
                                "NSRangeException");
  }
  return array[index];
}
