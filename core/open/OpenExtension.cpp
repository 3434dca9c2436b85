#include "core/open/OpenExtension.h"

#include "core/json/JsonUtil.h"
#include "platform/foundation/JsonSerialization.h"

std::string openValue(const pf::Value& value) {
  if (value.isNil()) return "null";
  if (value.isString()) {
    auto literal =
        pf::JsonSerialization::stringWithJSONObject(value, pf::JsonSerialization::WritingFragmentsAllowed);
    // Broken UTF-8 stays as the mapper writes it; the request body then fails with a clear error.
    if (literal) return *literal;
  }
  return JsonUtil::jsonStringWithObject(value).value_or("null");
}
