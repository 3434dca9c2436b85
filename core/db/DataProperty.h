#pragma once
// One mapped property of an entity: the column it is stored in, its SQL type as written in the mapping
// file, and the type code the store reads the column back with (set by EntityMapperValidator).

#include <optional>
#include <string>

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Object.h"

class DataProperty : public pf::Object {
  PF_OBJECT(DataProperty, pf::Object)

  std::optional<std::string> name;
  // Lower case; empty means the snake-case form of name.
  std::optional<std::string> columnName;
  std::optional<std::string> dbType;
  std::optional<std::string> comment;
  bool nullable = true;  // an absent attribute means nullable
  bool primaryKey = false;
  unsigned TypeCode = 0;

  static void declareProperties(pf::ClassBuilder<DataProperty>& b);
};
