#pragma once
// One mapped class: its table, its mapped properties in column order, the table's indexes, and (after
// validation) its primary key and the lookup from column name to property used to map result rows.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/db/DataIndex.h"
#include "core/db/DataProperty.h"
#include "core/db/DataRelation.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Object.h"

class DataEntity : public pf::Object {
  PF_OBJECT(DataEntity, pf::Object)

  std::optional<std::string> className;
  std::optional<std::string> tableName;
  std::optional<std::string> tableComment;
  // The class only receives query results: no table, every property maps to its snake-case column.
  bool resultMapOnly = false;
  // File order, which is also the column order of the table and of INSERT values.
  std::vector<std::shared_ptr<DataProperty>> props;
  std::vector<std::shared_ptr<DataRelation>> relations;
  // Made with the table; a result-map-only entity's are ignored.
  std::vector<std::shared_ptr<DataIndex>> indexes;
  std::shared_ptr<DataProperty> pkProp;
  std::map<std::string, std::shared_ptr<DataProperty>> propDic;

  // The property mapped to that column, or null.
  std::shared_ptr<DataProperty> propertyWithColumnName(const std::string& columnName) const;

  static void declareProperties(pf::ClassBuilder<DataEntity>& b);
};
