#pragma once
// A relation declared in the mapping file. Relations are read and kept, but nothing acts on them.

#include <optional>
#include <string>

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Object.h"

class DataRelation : public pf::Object {
  PF_OBJECT(DataRelation, pf::Object)

  std::optional<std::string> prop;
  std::optional<std::string> refClass;
  std::optional<std::string> refProp;

  static void declareProperties(pf::ClassBuilder<DataRelation>& b);
};
