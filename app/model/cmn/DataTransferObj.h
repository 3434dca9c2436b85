#pragma once
// One step of carrying data over from the previous release's database: the SELECT to run there and
// the entity class each of its rows becomes.

#include <optional>
#include <string>

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Object.h"

class DataTransferObj : public pf::Object {
  PF_OBJECT(DataTransferObj, pf::Object)

  std::optional<std::string> querySql;
  std::optional<std::string> resultClassName;

  static void declareProperties(pf::ClassBuilder<DataTransferObj>& b) {
    PF_PROPERTY(b, querySql);
    PF_PROPERTY(b, resultClassName);
  }
};
