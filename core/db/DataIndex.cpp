#include "core/db/DataIndex.h"

void DataIndex::declareProperties(pf::ClassBuilder<DataIndex>& b) {
  PF_PROPERTY(b, name);
  PF_PROPERTY(b, columns);
}
