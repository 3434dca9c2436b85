#include "core/db/EntityMapperContext.h"

std::shared_ptr<DataEntity> EntityMapperContext::entityWithClassName(const std::string& className) const {
  const auto found = entityDic.find(className);
  return found != entityDic.end() ? found->second : nullptr;
}

void EntityMapperContext::registerClasses() {
  pf::registerClass<EntityMapperContext>();
  pf::registerClass<DataEntity>();
  pf::registerClass<DataProperty>();
  pf::registerClass<DataRelation>();
  pf::registerClass<DataIndex>();
}

void EntityMapperContext::declareProperties(pf::ClassBuilder<EntityMapperContext>& b) {
  PF_PROPERTY(b, version);
  PF_PROPERTY(b, dataEntities);
  PF_PROPERTY(b, jsonEntities);
}
