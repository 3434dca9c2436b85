#pragma once
// An index of an entity's table declared in the mapping file: its name and its columns, comma-separated
// in index order. The store makes it with the table, and on a database made before it was declared.

#include <optional>
#include <string>
#include <vector>

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Object.h"

class DataIndex : public pf::Object {
  PF_OBJECT(DataIndex, pf::Object)

  std::optional<std::string> name;
  std::optional<std::string> columns;
  // The columns one by one, set by the validation.
  std::vector<std::string> columnNames;

  static void declareProperties(pf::ClassBuilder<DataIndex>& b);
};
