#pragma once
// Collection helpers used across the services: the nothing-or-empty test and a mapping operation.

#include <functional>

#include "platform/foundation/Value.h"

class ArrayExtension {
 public:
  static bool isNullOrEmpty(const pf::ArrayPtr& array);
  // YES for nil, the null marker, a value that is no array, and an empty array.
  static bool isNullOrEmpty(const pf::Value& value);
  // The block's result for each element, in order. A nil result is a contract fault
  // ("NSInvalidArgumentException"): arrays hold no nil.
  static pf::ArrayPtr select(const pf::Array& array, const std::function<pf::Value(const pf::Value&)>& block);
};
