#include "core/reflect/PropTypePair.h"

#include "core/reflect/ReflectionUtil.h"

PropTypePair::PropTypePair(std::string propKey, std::string typeName)
    : propKey_(std::move(propKey)),
      typeName_(std::move(typeName)),
      typeCode_(ReflectionUtil::typeCodeForTypeName(typeName_)) {}

std::string PropTypePair::propKeyWithClassName(const std::string& className, const std::string& propName) {
  return className + "." + propName;
}
