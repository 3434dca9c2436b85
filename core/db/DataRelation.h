#pragma once
// A relation declared in the mapping file: the property prop holds related refClass objects, each of
// which keeps the owner's key in its property refProp. Only the store's relation operations act on it.

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
