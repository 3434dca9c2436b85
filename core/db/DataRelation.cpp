#include "core/db/DataRelation.h"

void DataRelation::declareProperties(pf::ClassBuilder<DataRelation>& b) {
  PF_PROPERTY(b, prop);
  PF_PROPERTY(b, refClass);
  PF_PROPERTY(b, refProp);
}
