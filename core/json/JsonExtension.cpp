#include "core/json/JsonExtension.h"

#include <nlohmann/json.hpp>

#include "core/json/JsonKind.h"
#include "core/reflect/ReflectionUtil.h"
#include "core/util/CommonUtil.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Format.h"
#include "platform/foundation/TextReading.h"

namespace {

pf::Value millisecondsOf(const pf::Date& date) {
  return pf::Value(CommonUtil::javaTimeMillsNumberSince1970WithDate(date));
}

pf::Value dateFromMilliseconds(const pf::Value& milliseconds) {
  std::optional<pf::Date> date = CommonUtil::dateWithJaveTimeMillsNumber(milliseconds);
  return date ? pf::Value(*date) : pf::Value();
}

// A string written as a JSON literal, escaped as JSON requires; invalid UTF-8 becomes U+FFFD.
std::string quoted(const std::string& text) {
  return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// The text of a quoted answer: a JSON string literal is unescaped; anything else is cut between
// its first two double quotes, or taken whole.
std::string unquoted(const std::string& text) {
  size_t first = text.find('"');
  if (first == std::string::npos) return text;
  size_t start = text.find_first_not_of(" \t\r\n");
  size_t end = text.find_last_not_of(" \t\r\n");
  if (start == first && end != first && text[end] == '"') {
    nlohmann::json parsed = nlohmann::json::parse(text.begin() + start, text.begin() + end + 1, nullptr, false);
    if (parsed.is_string()) return parsed.get<std::string>();
  }
  size_t second = text.find('"', first + 1);
  if (second == std::string::npos) return text;
  return text.substr(first + 1, second - first - 1);
}

}  // namespace

unsigned JsonExtension::jsonType(const pf::Value& value) {
  switch (value.kind()) {
    case pf::Value::Kind::Nil: return JsonKind::None;
    case pf::Value::Kind::Null: return JsonKind::Null;
    case pf::Value::Kind::Number: return value.number()->isBoolean() ? JsonKind::Boolean : JsonKind::Number;
    case pf::Value::Kind::String: return JsonKind::String;
    case pf::Value::Kind::Date: return JsonKind::Date;
    case pf::Value::Kind::Dictionary: return JsonKind::Object;
    case pf::Value::Kind::Array: return JsonKind::Array;
    case pf::Value::Kind::Data:
    case pf::Value::Kind::Object: return JsonKind::ModelObject;
  }
  return JsonKind::None;
}

std::string JsonExtension::jsonStringForJsonType(const pf::Value& value, unsigned jsonType) {
  switch (jsonType) {
    case JsonKind::Null: return "null";
    case JsonKind::Boolean: return value.boolValue() ? "true" : "false";
    case JsonKind::Number:
      if (value.isNumber()) return value.number()->stringValue();
      break;
    case JsonKind::String:
      if (value.isString()) return quoted(*value.string());
      break;
    case JsonKind::Date:
      if (value.isDate()) return millisecondsOf(*value.date()).description();
      break;
  }
  throw pf::ContractViolation(pf::format("Not support single json object: %@", value));
}

pf::Value JsonExtension::jsonObjForJsonType(const pf::Value& value, unsigned jsonType) {
  if (jsonType == JsonKind::Boolean) return pf::Value(pf::Number(value.boolValue()));
  if (jsonType == JsonKind::Date && value.isDate()) return millisecondsOf(*value.date());
  return value;
}

pf::Value JsonExtension::valueForTypeCode(const pf::Value& value, unsigned typeCode) {
  if (typeCode != TypeCode::Date) return value;
  if (value.isDate()) return value;
  return value.isNumber() ? dateFromMilliseconds(value) : pf::Value();
}

pf::Value JsonExtension::jsonValueForTypeCode(const std::string& text, unsigned typeCode) {
  if (ReflectionUtil::isPrimitiveTypeCode(typeCode)) return numberFromForTypeCode(unquoted(text), typeCode);
  // A quoted date reads as no date: only bare milliseconds count.
  if (typeCode == TypeCode::Date) return dateFromMilliseconds(pf::Value(pf::text::longLongValue(text)));
  return pf::Value(unquoted(text));
}

pf::Value JsonExtension::numberFromForTypeCode(const std::string& text, unsigned typeCode) {
  if (typeCode < TypeCode::Bool || typeCode > TypeCode::Double) return {};
  return ReflectionUtil::valueFromString(text, typeCode);
}

std::string JsonExtension::stringBetweenString(const std::string& text, std::string_view start, std::string_view end) {
  size_t from = text.find(start);
  if (from == std::string::npos) return text;
  from += start.size();
  size_t to = text.find(end, from);
  if (to == std::string::npos) return text;
  return text.substr(from, to - from);
}
