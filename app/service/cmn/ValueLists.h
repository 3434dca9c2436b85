#pragma once
// Conversions the services share between entity lists, the store's rows and bound statement values.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Value.h"

// A bound value: the text, or NULL when there is none.
inline pf::Value textValue(const std::optional<std::string>& text) {
  return text ? pf::Value(*text) : pf::Value();
}

// The entities of type T in a list of values; other values are skipped.
template <typename T>
std::vector<std::shared_ptr<T>> objectsOf(const pf::Array& values) {
  std::vector<std::shared_ptr<T>> objects;
  for (const pf::Value& value : values)
    if (auto object = value.objectAs<T>()) objects.push_back(std::move(object));
  return objects;
}

template <typename T>
pf::ArrayPtr arrayOf(const std::vector<std::shared_ptr<T>>& objects) {
  auto array = std::make_shared<pf::Array>();
  for (const auto& object : objects) array->push_back(pf::Value(pf::ObjectPtr(object)));
  return array;
}
