#pragma once
// Reflection over declared properties: the type-code table, the cached property dictionaries of
// classes, text-to-value conversion, and the per-thread registry of array element types (JSON has
// no element types, so every service registers them on its thread before it decodes an answer).
//
// Thread rules: the property-dictionary cache is process-wide and locked; a dictionary is complete
// before anyone sees it. The element-type registry belongs to the calling thread only.

#include <map>
#include <string>

#include "core/reflect/PropTypePair.h"
#include "core/reflect/PropertyInfo.h"
#include "core/reflect/TypeCode.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/Class.h"
#include "platform/runtime/Object.h"

class ReflectionUtil {
 public:
  // The table's code for a type name; 202 for any name outside it.
  static unsigned typeCodeForTypeName(const std::string& typeName);
  static unsigned typeCodeForClass(const pf::Class& cls);
  static bool isPrimitiveTypeCode(unsigned typeCode) { return typeCode < 100; }

  // A typed value read leniently from text, or nil for codes that take no text (dates, objects...).
  static pf::Value valueFromString(const std::string& text, unsigned typeCode);

  // Property name to PropertyInfo for the class and its superclasses (root excluded); null when no
  // class has that name. Cached for the life of the process.
  static PropertyDictionaryPtr propertyDictionaryForClassName(const std::string& className);
  static PropertyDictionaryPtr propertyDictionaryForClass(const pf::Class& cls);
  // The same names to PropertyInfo named after each sample value's class.
  static PropertyDictionary propertyDictionaryForDic(const pf::Dictionary& dic);

  // The element-type registry of the calling thread.
  static void setArrayType(const std::string& typeName, const std::string& propName, const std::string& className);
  static void setArrayTypesWithNameTypeDic(const std::map<std::string, std::string>& nameTypeDic,
                                           const std::string& className);
  static const PropTypePair& propPairWithPropName(const std::string& propName, const std::string& className);

  static bool areEqualsWithClasses(const pf::Class& class1, const pf::Class& class2);
  // The name inside a structure encoding ("{CGRect=...}" gives "CGRect"), else the whole text.
  static std::string classNameForEncodingType(const std::string& encoding);
  // Type encoding of a named member ("i", "@\"NSString\""); empty when there is none.
  static std::string getIvarTypeWithName(const std::string& name, const pf::Class& cls);
  // Type name of a named property as the property dictionary reads it; "@" when untyped or unknown.
  static std::string getPropTypeWithName(const std::string& name, const pf::Class& cls);

  // Operations every object answers.
  static PropertyDictionaryPtr propDictionary(const pf::Object& object);
  static unsigned typeCodeForPropName(const std::string& propName, const PropertyDictionary* propDic);
  static void setValueWithText(pf::Object& object, const std::string& text, const std::string& key,
                               const PropertyDictionary* propDic);
  static void setValueWithText(pf::Object& object, const std::string& text, const std::string& key);
  static void setValuesForKeysWithTextDictionary(pf::Object& object,
                                                 const std::map<std::string, std::string>& textDic);
};
