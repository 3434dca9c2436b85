#include "core/db/DataProperty.h"

void DataProperty::declareProperties(pf::ClassBuilder<DataProperty>& b) {
  PF_PROPERTY(b, name);
  PF_PROPERTY(b, columnName);
  PF_PROPERTY(b, dbType);
  PF_PROPERTY(b, comment);
  PF_PROPERTY(b, nullable);
  PF_PROPERTY(b, primaryKey);
  PF_PROPERTY(b, TypeCode);
}
