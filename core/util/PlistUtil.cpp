#include "core/util/PlistUtil.h"

#include "core/util/FileTool.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Format.h"
#include "platform/foundation/PropertyList.h"

pf::DictionaryPtr PlistUtil::dictionaryFromPlistFile(const std::string& path) {
  if (!FileTool::fileExistAtPath(path)) {
    throw pf::ContractViolation(pf::format("Can not found plist file at path: %@ in main bundle!", path));
  }
  pf::Value plist = pf::PropertyList::propertyListWithContentsOfFile(path);
  return plist.isDictionary() ? plist.dictionary() : nullptr;
}

pf::DictionaryPtr PlistUtil::dicWithResourceName(const std::optional<std::string>& resourceName,
                                                 const pf::Bundle& inBundle) {
  if (!resourceName) throw pf::ContractViolation("You must set resource name before using it.");
  std::optional<std::string> path = inBundle.pathForResource(*resourceName, "plist");
  if (!path) {
    throw pf::ContractViolation(
        pf::format("Can not found resource plist file named: %@ in main bundle!", *resourceName));
  }
  return dictionaryFromPlistFile(*path);
}

bool PlistUtil::savePlistFileWithDictionary(const pf::Dictionary& dictionary, const std::string& plistFile) {
  return pf::PropertyList::writeToFile(pf::Value(dictionary), plistFile, pf::PropertyList::Format::Xml);
}
