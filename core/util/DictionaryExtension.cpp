#include "core/util/DictionaryExtension.h"

bool DictionaryExtension::isNullOrEmpty(const pf::DictionaryPtr& dictionary) {
  return !dictionary || dictionary->empty();
}

bool DictionaryExtension::isNullOrEmpty(const pf::Value& value) {
  return !value.isDictionary() || isNullOrEmpty(value.dictionary());
}
