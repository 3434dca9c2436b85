#include "core/reflect/ReflectionUtil.h"

#include <mutex>
#include <unordered_map>

#include "platform/foundation/Error.h"
#include "platform/foundation/Format.h"
#include "platform/foundation/TextReading.h"

namespace {

const std::unordered_map<std::string, unsigned>& typeCodeTable() {
  static const std::unordered_map<std::string, unsigned> table = {
      {"c", TypeCode::Bool},          {"B", TypeCode::Bool},
      {"C", TypeCode::UnsignedChar},  {"s", TypeCode::Short},
      {"S", TypeCode::UnsignedShort}, {"i", TypeCode::Int},
      {"I", TypeCode::UnsignedInt},   {"l", TypeCode::Long},
      {"L", TypeCode::UnsignedLong},  {"q", TypeCode::LongLong},
      {"Q", TypeCode::UnsignedLongLong}, {"f", TypeCode::Float},
      {"d", TypeCode::Double},        {"NSDate", TypeCode::Date},
      {"NSNumber", TypeCode::Number}, {"NSString", TypeCode::String},
      {"NSDictionary", TypeCode::Dictionary}, {"NSMutableDictionary", TypeCode::Dictionary},
      {"NSArray", TypeCode::Array},   {"NSMutableArray", TypeCode::Array},
  };
  return table;
}

// The type part of an attribute text: a letter, or the class name of T@"Name"; other encodings
// keep their text (and so fall outside the table).
std::string typeNameFromAttributes(const std::string& attributes) {
  std::string type = attributes.substr(0, attributes.find(','));
  if (type.size() == 2) return type.substr(1);
  if (type.size() > 4 && type.compare(0, 3, "T@\"") == 0 && type.back() == '"') {
    return type.substr(3, type.size() - 4);
  }
  return type.empty() ? type : type.substr(1);
}

bool isReadonlyAttributes(const std::string& attributes) {
  size_t comma = attributes.find(',');
  if (comma == std::string::npos) return false;
  size_t next = attributes.find(',', comma + 1);
  return attributes.substr(comma + 1, next == std::string::npos ? std::string::npos : next - comma - 1) == "R";
}

PropertyDictionaryPtr buildPropertyDictionary(const pf::Class& cls) {
  auto dic = std::make_shared<PropertyDictionary>();
  const pf::Class& root = pf::Object::staticClass();
  // Visiting the class before its superclasses lets the highest declaration win.
  for (const pf::Class* c = &cls; c && c != &root; c = c->superclass()) {
    for (const pf::Property& p : c->declaredProperties()) {
      std::string attributes = p.attributes();
      PropertyInfo info = PropertyInfo::initWithTypeName(typeNameFromAttributes(attributes));
      info.readonly = isReadonlyAttributes(attributes);
      info.property = &p;
      dic->insert_or_assign(p.name, std::move(info));
    }
  }
  return dic;
}

std::string valueClassName(const pf::Value& v) {
  switch (v.kind()) {
    case pf::Value::Kind::Nil: return "nil";
    case pf::Value::Kind::Null: return "NSNull";
    case pf::Value::Kind::Number: return "NSNumber";
    case pf::Value::Kind::String: return "NSString";
    case pf::Value::Kind::Date: return "NSDate";
    case pf::Value::Kind::Data: return "NSData";
    case pf::Value::Kind::Array: return "NSArray";
    case pf::Value::Kind::Dictionary: return "NSDictionary";
    case pf::Value::Kind::Object: return v.object()->className();
  }
  return "@";
}

using ThreadRegistry = std::map<std::string, PropTypePair>;

// Lives as long as the thread: registrations never cross threads.
ThreadRegistry& threadRegistry() {
  thread_local ThreadRegistry registry;
  return registry;
}

void checkArrayProperty(const std::string& propName, const std::string& className) {
  PropertyDictionaryPtr dic = ReflectionUtil::propertyDictionaryForClassName(className);
  if (!dic) throw pf::ContractViolation(pf::format("Can not found prop dic for className: %@.", className));
  auto it = dic->find(propName);
  if (it == dic->end() || it->second.typeCode != TypeCode::Array) {
    throw pf::ContractViolation(pf::format("Can not found array prop named %@ of class %@.", propName, className));
  }
}

}  // namespace

unsigned ReflectionUtil::typeCodeForTypeName(const std::string& typeName) {
  const auto& table = typeCodeTable();
  auto it = table.find(typeName);
  return it == table.end() ? TypeCode::Object : it->second;
}

unsigned ReflectionUtil::typeCodeForClass(const pf::Class& cls) { return typeCodeForTypeName(cls.name()); }

pf::Value ReflectionUtil::valueFromString(const std::string& text, unsigned typeCode) {
  switch (typeCode) {
    case TypeCode::Bool: return pf::Value(pf::Number(pf::text::boolValue(text)));
    case TypeCode::Char:
    case TypeCode::UnsignedChar: return pf::Value(pf::Number(text.empty() ? '\0' : text[0]));
    case TypeCode::Short:
    case TypeCode::UnsignedShort:
    case TypeCode::Int:
    case TypeCode::UnsignedInt: return pf::Value(pf::Number(pf::text::intValue(text)));
    case TypeCode::Long:
    case TypeCode::UnsignedLong:
    case TypeCode::LongLong:
    case TypeCode::UnsignedLongLong: return pf::Value(pf::Number(pf::text::longLongValue(text)));
    case TypeCode::Float: return pf::Value(pf::Number(pf::text::floatValue(text)));
    case TypeCode::Double: return pf::Value(pf::Number(pf::text::doubleValue(text)));
    case TypeCode::String: return pf::Value(text);
    default: return {};
  }
}

PropertyDictionaryPtr ReflectionUtil::propertyDictionaryForClassName(const std::string& className) {
  const pf::Class* cls = pf::ClassRegistry::find(className);
  return cls ? propertyDictionaryForClass(*cls) : nullptr;
}

PropertyDictionaryPtr ReflectionUtil::propertyDictionaryForClass(const pf::Class& cls) {
  static std::mutex mutex;
  static std::unordered_map<const pf::Class*, PropertyDictionaryPtr> cache;
  std::lock_guard lock(mutex);
  PropertyDictionaryPtr& entry = cache[&cls];
  if (!entry) entry = buildPropertyDictionary(cls);
  return entry;
}

PropertyDictionary ReflectionUtil::propertyDictionaryForDic(const pf::Dictionary& dic) {
  PropertyDictionary result;
  for (const auto& [name, value] : dic) result.insert_or_assign(name, PropertyInfo::initWithTypeName(valueClassName(value)));
  return result;
}

void ReflectionUtil::setArrayType(const std::string& typeName, const std::string& propName,
                                  const std::string& className) {
  checkArrayProperty(propName, className);
  std::string key = PropTypePair::propKeyWithClassName(className, propName);
  threadRegistry().insert_or_assign(key, PropTypePair(key, typeName));
}

void ReflectionUtil::setArrayTypesWithNameTypeDic(const std::map<std::string, std::string>& nameTypeDic,
                                                  const std::string& className) {
  for (const auto& [propName, typeName] : nameTypeDic) setArrayType(typeName, propName, className);
}

const PropTypePair& ReflectionUtil::propPairWithPropName(const std::string& propName, const std::string& className) {
  checkArrayProperty(propName, className);
  const ThreadRegistry& registry = threadRegistry();
  auto it = registry.find(PropTypePair::propKeyWithClassName(className, propName));
  if (it == registry.end()) {
    throw pf::ContractViolation(
        pf::format("You must set array type name for prop named %@ of class %@!", propName, className));
  }
  return it->second;
}

bool ReflectionUtil::areEqualsWithClasses(const pf::Class& class1, const pf::Class& class2) {
  return class1.name() == class2.name();
}

std::string ReflectionUtil::classNameForEncodingType(const std::string& encoding) {
  size_t equals = encoding.find('=');
  if (encoding.size() > 1 && (encoding[0] == '{' || encoding[0] == '(') && equals != std::string::npos) {
    return encoding.substr(1, equals - 1);
  }
  return encoding;
}

std::string ReflectionUtil::getIvarTypeWithName(const std::string& name, const pf::Class& cls) {
  const pf::Property* p = cls.findProperty(name);
  if (!p) return {};
  std::string type = p->attributes();
  return type.substr(1, type.find(',') - 1);
}

std::string ReflectionUtil::getPropTypeWithName(const std::string& name, const pf::Class& cls) {
  const pf::Property* p = cls.findProperty(name);
  if (!p) return "@";
  std::string typeName = typeNameFromAttributes(p->attributes());
  return typeName.empty() ? "@" : typeName;
}

PropertyDictionaryPtr ReflectionUtil::propDictionary(const pf::Object& object) {
  return propertyDictionaryForClass(object.objectClass());
}

unsigned ReflectionUtil::typeCodeForPropName(const std::string& propName, const PropertyDictionary* propDic) {
  if (!propDic) return TypeCode::None;
  auto it = propDic->find(propName);
  return it == propDic->end() ? TypeCode::None : it->second.typeCode;
}

void ReflectionUtil::setValueWithText(pf::Object& object, const std::string& text, const std::string& key,
                                      const PropertyDictionary* propDic) {
  unsigned code = typeCodeForPropName(key, propDic);
  if (code == TypeCode::None) return;
  pf::Value value = valueFromString(text, code);
  if (!value.isNil()) object.setValueForKey(key, value);
}

void ReflectionUtil::setValueWithText(pf::Object& object, const std::string& text, const std::string& key) {
  PropertyDictionaryPtr dic = propDictionary(object);
  setValueWithText(object, text, key, dic.get());
}

void ReflectionUtil::setValuesForKeysWithTextDictionary(pf::Object& object,
                                                        const std::map<std::string, std::string>& textDic) {
  PropertyDictionaryPtr dic = propDictionary(object);
  for (const auto& [key, text] : textDic) setValueWithText(object, text, key, dic.get());
}
