#include "core/db/DataEntity.h"

std::shared_ptr<DataProperty> DataEntity::propertyWithColumnName(const std::string& columnName) const {
  const auto found = propDic.find(columnName);
  return found != propDic.end() ? found->second : nullptr;
}

void DataEntity::declareProperties(pf::ClassBuilder<DataEntity>& b) {
  PF_PROPERTY(b, className);
  PF_PROPERTY(b, tableName);
  PF_PROPERTY(b, tableComment);
  PF_PROPERTY(b, resultMapOnly);
  PF_PROPERTY(b, props);
  PF_PROPERTY(b, relations);
  PF_PROPERTY(b, indexes);
  PF_PROPERTY(b, pkProp);
}
