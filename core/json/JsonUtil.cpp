#include "core/json/JsonUtil.h"

#include <algorithm>
#include <vector>

#include "core/json/JsonExtension.h"
#include "core/json/JsonKind.h"
#include "core/reflect/ReflectionUtil.h"
#include "platform/foundation/Format.h"
#include "platform/foundation/JsonSerialization.h"
#include "platform/runtime/Object.h"

namespace {

// Converts a value into what the JSON writer takes. Cycles are cut by identity along the current
// path, so equal but distinct containers are all written and shared ones are written each time.
class JsonWriterConverter {
 public:
  std::optional<pf::Value> convert(const pf::Value& value, unsigned kind) {
    if (kind < JsonKind::Object) {
      if (kind == JsonKind::None) return std::nullopt;
      return JsonExtension::jsonObjForJsonType(value, kind);
    }
    if (value.isNothing()) return pf::Value(pf::Null{});
    const void* identity = identityOf(value);
    if (!identity || std::find(path_.begin(), path_.end(), identity) != path_.end()) return std::nullopt;
    path_.push_back(identity);
    std::optional<pf::Value> result = convertContainer(value, kind);
    path_.pop_back();
    return result;
  }

 private:
  static const void* identityOf(const pf::Value& value) {
    if (value.isArray()) return value.array().get();
    if (value.isDictionary()) return value.dictionary().get();
    if (value.isObject()) return value.object().get();
    return nullptr;
  }

  std::optional<pf::Value> convertContainer(const pf::Value& value, unsigned kind) {
    if (kind == JsonKind::Object && value.isDictionary()) return convertDictionary(*value.dictionary());
    if (kind == JsonKind::Array && value.isArray()) return convertArray(*value.array());
    if (kind == JsonKind::ModelObject && value.isObject()) return convertModel(*value.object());
    return std::nullopt;
  }

  pf::Value convertDictionary(const pf::Dictionary& dictionary) {
    auto result = std::make_shared<pf::Dictionary>();
    for (const auto& [key, member] : dictionary) {
      if (auto converted = convert(member, JsonExtension::jsonType(member))) result->emplace(key, std::move(*converted));
    }
    return pf::Value(result);
  }

  // Element by element: a mixed array keeps every element in its own kind.
  pf::Value convertArray(const pf::Array& array) {
    auto result = std::make_shared<pf::Array>();
    result->reserve(array.size());
    for (const pf::Value& element : array) {
      if (auto converted = convert(element, JsonExtension::jsonType(element))) result->push_back(std::move(*converted));
    }
    return pf::Value(result);
  }

  pf::Value convertModel(const pf::Object& object) {
    auto result = std::make_shared<pf::Dictionary>();
    PropertyDictionaryPtr properties = ReflectionUtil::propDictionary(object);
    for (const auto& [name, info] : *properties) {
      if (info.readonly) continue;
      pf::Value member = info.property->get(object);
      if (member.isNil()) continue;
      if (auto converted = convert(member, declaredKind(info.typeCode, member))) result->emplace(name, std::move(*converted));
    }
    return pf::Value(result);
  }

  // Number objects and untyped members take the kind of their value.
  static unsigned declaredKind(unsigned typeCode, const pf::Value& member) {
    if (typeCode == TypeCode::Number || typeCode == TypeCode::Object) return JsonExtension::jsonType(member);
    return JsonUtil::jsonTypeFromTypeCode(typeCode);
  }

  std::vector<const void*> path_;
};

pf::Value objectFromJsonArray(const pf::Array& array, const std::string& typeName, unsigned typeCode);

pf::Value objectFromJsonDic(const pf::Dictionary& dic, const std::string& typeName);

// One member of a JSON object for one declared property; nil when it cannot be read into it.
pf::Value memberValue(const pf::Value& member, const std::string& className, const std::string& name,
                      const PropertyInfo& info) {
  switch (info.typeCode) {
    case TypeCode::Dictionary: return member.isDictionary() ? member : pf::Value();
    case TypeCode::Object:
      if (info.typeName == "@") return member;
      return member.isDictionary() ? objectFromJsonDic(*member.dictionary(), info.typeName) : pf::Value();
    case TypeCode::Array: {
      const PropTypePair& pair = ReflectionUtil::propPairWithPropName(name, className);
      return member.isArray() ? objectFromJsonArray(*member.array(), pair.typeName(), pair.typeCode()) : pf::Value();
    }
    default: return JsonExtension::valueForTypeCode(member, info.typeCode);
  }
}

pf::Value objectFromJsonDic(const pf::Dictionary& dic, const std::string& typeName) {
  const pf::Class* cls = pf::ClassRegistry::find(typeName);
  pf::ObjectPtr object = cls ? cls->make() : nullptr;
  if (!object) throw pf::ContractViolation(pf::format("Can not parse json data to invalid className: %@ ", typeName));
  PropertyDictionaryPtr properties = ReflectionUtil::propertyDictionaryForClass(*cls);
  for (const auto& [name, member] : dic) {
    auto it = properties->find(name);
    // A JSON null keeps the property's value.
    if (it == properties->end() || it->second.readonly || member.isNull()) continue;
    pf::Value value = memberValue(member, typeName, name, it->second);
    if (!value.isNil()) it->second.property->set(*object, value);
  }
  return pf::Value(object);
}

// A single value of an array read with a scalar element type.
pf::Value singleElement(const pf::Value& element, unsigned typeCode) {
  if (const std::string* text = element.string()) return JsonExtension::jsonValueForTypeCode(*text, typeCode);
  if (!element.isNumber()) return {};
  if (typeCode == TypeCode::String) return pf::Value(element.number()->stringValue());
  if (ReflectionUtil::isPrimitiveTypeCode(typeCode)) return JsonExtension::numberFromForTypeCode(element.number()->stringValue(), typeCode);
  return JsonExtension::valueForTypeCode(element, typeCode);
}

pf::Value arrayElement(const pf::Value& element, const std::string& typeName, unsigned typeCode) {
  if (JsonUtil::isSingleValueForTypeCode(typeCode)) return singleElement(element, typeCode);
  return element.isDictionary() ? objectFromJsonDic(*element.dictionary(), typeName) : pf::Value();
}

pf::Value objectFromJsonArray(const pf::Array& array, const std::string& typeName, unsigned typeCode) {
  auto result = std::make_shared<pf::Array>();
  result->reserve(array.size());
  for (const pf::Value& element : array) {
    pf::Value item = arrayElement(element, typeName, typeCode);
    if (!item.isNil()) result->push_back(std::move(item));
  }
  return pf::Value(result);
}

// A list is mapped element by element as the text is read: only the results and the values of one
// element are in memory at a time, never the values of the whole list.
pf::Value objectsFromJsonList(std::string_view text, const std::string& typeName, unsigned typeCode,
                              pf::ErrorPtr* error) {
  auto result = std::make_shared<pf::Array>();
  const bool read = pf::JsonSerialization::forEachArrayElement(
      text,
      [&](pf::Value element) {
        pf::Value item = arrayElement(element, typeName, typeCode);
        if (!item.isNil()) result->push_back(std::move(item));
        return true;
      },
      error);
  return read ? pf::Value(result) : pf::Value();
}

bool startsAList(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  return first != std::string_view::npos && text[first] == '[';
}

}  // namespace

std::optional<pf::Data> JsonUtil::jsonDataWithObject(const pf::Value& object, pf::ErrorPtr* error) {
  std::optional<std::string> text = jsonStringWithObject(object, error);
  if (!text) return std::nullopt;
  return pf::Data(text->begin(), text->end());
}

std::optional<std::string> JsonUtil::jsonStringWithObject(const pf::Value& object, pf::ErrorPtr* error) {
  unsigned kind = JsonExtension::jsonType(object);
  if (JsonExtension::isSingleValueForJsonType(kind)) return JsonExtension::jsonStringForJsonType(object, kind);
  std::optional<pf::Value> converted = JsonWriterConverter().convert(object, kind);
  if (!converted) converted = pf::Value(pf::Null{});
  return pf::JsonSerialization::stringWithJSONObject(*converted, pf::JsonSerialization::WritingPrettyPrinted, error);
}

pf::Value JsonUtil::objectFromJsonData(const pf::Data& data, const std::string& typeName, pf::ErrorPtr* error) {
  return objectFromJsonText(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()), typeName,
                            error);
}

pf::Value JsonUtil::objectFromJsonString(const std::string& text, const std::string& typeName, pf::ErrorPtr* error) {
  return objectFromJsonText(text, typeName, error);
}

pf::Value JsonUtil::objectFromJsonText(std::string_view text, const std::string& typeName, pf::ErrorPtr* error) {
  unsigned typeCode = ReflectionUtil::typeCodeForTypeName(typeName);
  if (isSingleValueForTypeCode(typeCode)) return JsonExtension::jsonValueForTypeCode(std::string(text), typeCode);
  if (typeCode != TypeCode::Array && typeCode != TypeCode::Dictionary && startsAList(text)) {
    return objectsFromJsonList(text, typeName, typeCode, error);
  }
  pf::Value parsed = pf::JsonSerialization::JSONObjectWithString(text, pf::JsonSerialization::ReadingAllowFragments, error);
  // Plain dictionaries and arrays are answered as parsed; an answer of the other shape is a wrong
  // answer, not a class to map it to.
  const bool container = typeCode == TypeCode::Dictionary || typeCode == TypeCode::Array;
  if (typeCode == TypeCode::Dictionary && parsed.isDictionary()) return parsed;
  if (typeCode == TypeCode::Array && parsed.isArray()) return parsed;
  if (!container && parsed.isDictionary()) return objectFromJsonDic(*parsed.dictionary(), typeName);
  if (!container && parsed.isArray()) return objectFromJsonArray(*parsed.array(), typeName, typeCode);
  if (!parsed.isNothing() && error) {
    const char* held = parsed.isDictionary() ? "an object" : parsed.isArray() ? "a list" : "a single value";
    *error = pf::Error::make("NSCocoaErrorDomain", 3840,
                             pf::format("JSON text holds %@, not a %@: %@", held, typeName, parsed));
  }
  return {};
}

std::string JsonUtil::typeNameForObject(const pf::Value& object) {
  switch (object.kind()) {
    case pf::Value::Kind::Number: return std::string(1, object.number()->typeLetter());
    case pf::Value::Kind::Date: return "NSDate";
    case pf::Value::Kind::String: return "NSString";
    case pf::Value::Kind::Null: return "NSNull";
    case pf::Value::Kind::Data: return "NSData";
    case pf::Value::Kind::Array: return "NSArray";
    case pf::Value::Kind::Dictionary: return "NSDictionary";
    case pf::Value::Kind::Object: return object.object()->className();
    case pf::Value::Kind::Nil: return "nil";
  }
  return {};
}

unsigned JsonUtil::jsonTypeFromTypeCode(unsigned typeCode) {
  if (typeCode == TypeCode::Bool) return JsonKind::Boolean;
  if (typeCode >= TypeCode::Char && typeCode <= TypeCode::Double) return JsonKind::Number;
  switch (typeCode) {
    case TypeCode::String: return JsonKind::String;
    case TypeCode::Date: return JsonKind::Date;
    case TypeCode::Dictionary: return JsonKind::Object;
    case TypeCode::Array: return JsonKind::Array;
    case TypeCode::Object: return JsonKind::ModelObject;
    default: return JsonKind::None;
  }
}
