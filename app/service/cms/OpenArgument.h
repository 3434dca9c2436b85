#pragma once
// An optional argument of a remote call as the value openValue writes: nil (sent as "null") when
// absent.

#include <optional>

#include "platform/foundation/Value.h"

template <typename T>
pf::Value openArgument(const std::optional<T>& argument) {
  return argument ? pf::Value(*argument) : pf::Value();
}
