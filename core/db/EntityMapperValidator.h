#pragma once
// Checks the mapping model once at start-up and builds its lookups: the entity of each class, each
// entity's key and its column-to-property index, each property's type code and each table index's
// columns. A faulty mapping is a
// programming fault: the first one found is thrown as a ContractViolation with its fixed message.

#include <optional>
#include <string>

#include "core/db/EntityMapperContext.h"

class EntityMapperValidator {
 public:
  static void checkAndInitEntityDicWithContext(EntityMapperContext& context);
  // The type code the store reads a column of that SQL type back with; 0 when the type is not supported.
  static unsigned typeCodeFromDBTypeText(const std::optional<std::string>& dbType);
};
