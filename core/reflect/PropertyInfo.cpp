#include "core/reflect/PropertyInfo.h"

#include "core/reflect/ReflectionUtil.h"

PropertyInfo::PropertyInfo(unsigned typeCode, std::string typeName)
    : typeName(std::move(typeName)), typeCode(typeCode) {}

PropertyInfo::PropertyInfo(unsigned typeCode, std::string typeName, unsigned arrTypeCode, std::string arrTypeName)
    : typeName(std::move(typeName)), typeCode(typeCode), arrTypeName(std::move(arrTypeName)), arrTypeCode(arrTypeCode) {}

PropertyInfo PropertyInfo::initWithTypeName(const std::string& typeName) {
  return PropertyInfo(ReflectionUtil::typeCodeForTypeName(typeName), typeName);
}

PropertyInfo PropertyInfo::initWithTypeName(const std::string& typeName, const std::string& arrTypeName) {
  PropertyInfo info = initWithTypeName(typeName);
  info.setArrTypeWithTypeName(arrTypeName);
  return info;
}

void PropertyInfo::setArrTypeWithTypeName(const std::string& name) {
  arrTypeName = name;
  arrTypeCode = ReflectionUtil::typeCodeForTypeName(name);
}
