#pragma once
// Per-value rules of the JSON mapper: the JSON kind of a value, its single-value text, and reading
// a single value back from answer text.

#include <string>
#include <string_view>

#include "platform/foundation/Value.h"

class JsonExtension {
 public:
  // Kind of a value at run time (JsonKind); BOOL numbers are booleans, other numbers numbers.
  static unsigned jsonType(const pf::Value& value);
  static bool isSingleValue(const pf::Value& value) { return isSingleValueForJsonType(jsonType(value)); }
  static bool isSingleValueForJsonType(unsigned jsonType) { return jsonType < 100; }

  // The JSON text of a single value ("null", true/false, a number, a quoted and escaped string,
  // milliseconds for a date). Any other kind is a contract fault.
  static std::string jsonString(const pf::Value& value) { return jsonStringForJsonType(value, jsonType(value)); }
  static std::string jsonStringForJsonType(const pf::Value& value, unsigned jsonType);
  // A value ready for the JSON writer: booleans as true/false, dates as milliseconds.
  static pf::Value jsonObjForJsonType(const pf::Value& value, unsigned jsonType);
  // Code 100 reads the value as milliseconds into a date; every other code keeps the value.
  static pf::Value valueForTypeCode(const pf::Value& value, unsigned typeCode);

  // A single value read from answer text by a declared type code.
  static pf::Value jsonValueForTypeCode(const std::string& text, unsigned typeCode);
  // Text to a number by a primitive type code; nil outside 1 to 13.
  static pf::Value numberFromForTypeCode(const std::string& text, unsigned typeCode);

  // The text after the first start marker up to the next end marker; the whole text when either is missing.
  static std::string stringBetweenString(const std::string& text, std::string_view start, std::string_view end);
};
