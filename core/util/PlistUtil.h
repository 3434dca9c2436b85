#pragma once
// Property-list files as dictionaries. A missing file or bundle resource is a build fault and throws
// ContractViolation with a fixed message; a file that holds no dictionary reads as nullptr.

#include <optional>
#include <string>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Value.h"

class PlistUtil {
 public:
  static pf::DictionaryPtr dictionaryFromPlistFile(const std::string& path);
  // The bundle's resource "<resourceName>.plist"; nullopt as the name is a contract fault.
  static pf::DictionaryPtr dicWithResourceName(const std::optional<std::string>& resourceName,
                                               const pf::Bundle& inBundle);
  // Writes atomically, so a failed write leaves the previous file (or none) in place.
  static bool savePlistFileWithDictionary(const pf::Dictionary& dictionary, const std::string& plistFile);
};
