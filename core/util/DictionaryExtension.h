#pragma once
// The nothing-or-empty test for dictionaries.

#include "platform/foundation/Value.h"

class DictionaryExtension {
 public:
  static bool isNullOrEmpty(const pf::DictionaryPtr& dictionary);
  // YES for nil, the null marker, a value that is no dictionary, and an empty dictionary.
  static bool isNullOrEmpty(const pf::Value& value);
};
