#pragma once
// The mapping model read from the mapping file: which class goes to which table. The store validates it
// once at start-up (EntityMapperValidator), which also builds entityDic.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/db/DataEntity.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Object.h"

class EntityMapperContext : public pf::Object {
  PF_OBJECT(EntityMapperContext, pf::Object)

  float version = 0;
  std::vector<std::shared_ptr<DataEntity>> dataEntities;
  pf::ArrayPtr jsonEntities;  // read when present; nothing uses it
  std::map<std::string, std::shared_ptr<DataEntity>> entityDic;

  // The validated entity of that class, or null.
  std::shared_ptr<DataEntity> entityWithClassName(const std::string& className) const;

  // Registers the model classes with the runtime, so that the mapping file can name them.
  static void registerClasses();
  static void declareProperties(pf::ClassBuilder<EntityMapperContext>& b);
};
