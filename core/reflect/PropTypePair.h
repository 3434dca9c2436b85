#pragma once
// One registered element type of an array property: "ClassName.propName" to the element class.

#include <string>

class PropTypePair {
 public:
  PropTypePair(std::string propKey, std::string typeName);
  static std::string propKeyWithClassName(const std::string& className, const std::string& propName);

  const std::string& propKey() const { return propKey_; }
  const std::string& typeName() const { return typeName_; }
  unsigned typeCode() const { return typeCode_; }

 private:
  std::string propKey_;
  std::string typeName_;
  unsigned typeCode_;
};
