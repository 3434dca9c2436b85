#pragma once
// Converts between JSON and model objects without per-class code: writing any value (string,
// number, date, null, array, dictionary, model object) as JSON, and reading an answer into the
// class or scalar type the caller names, with list element types taken from the calling thread's
// registry (ReflectionUtil::setArrayType).

#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Error.h"
#include "platform/foundation/Value.h"

class JsonUtil {
 public:
  // UTF-8 JSON, or nullopt with the writer's error.
  static std::optional<pf::Data> jsonDataWithObject(const pf::Value& object, pf::ErrorPtr* error = nullptr);
  static std::optional<std::string> jsonStringWithObject(const pf::Value& object,
                                                         pf::ErrorPtr* error = nullptr);

  // The decoded value: an instance (or list of instances) of the named class, or a single value of
  // a scalar type name ("c", "i", "q", "NSString", "NSDate"...). Nil with an error for bad JSON.
  static pf::Value objectFromJsonData(const pf::Data& data, const std::string& typeName,
                                      pf::ErrorPtr* error = nullptr);
  static pf::Value objectFromJsonString(const std::string& text, const std::string& typeName,
                                        pf::ErrorPtr* error = nullptr);
  // Either of the two above, reading the text where it lies.
  static pf::Value objectFromJsonText(std::string_view text, const std::string& typeName,
                                      pf::ErrorPtr* error = nullptr);

  // A number's type letter, "NSDate", "NSString", or the value's class name.
  static std::string typeNameForObject(const pf::Value& object);
  static unsigned jsonTypeFromTypeCode(unsigned typeCode);
  static bool isSingleValueForTypeCode(unsigned typeCode) { return typeCode >= 1 && typeCode <= 199; }
};
