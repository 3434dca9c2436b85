#pragma once
// Small mapped classes for the mapping-file tests.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/db/EntityMapperContext.h"
#include "platform/runtime/ClassBuilder.h"

class MappedBase : public pf::Object {
  PF_OBJECT(MappedBase, pf::Object)
  std::optional<std::string> sid;
  static void declareProperties(pf::ClassBuilder<MappedBase>& b) { PF_PROPERTY(b, sid); }
};

class MappedUnit : public pf::Object {
  PF_OBJECT(MappedUnit, pf::Object)
  std::optional<std::string> name;
  int seq = 0;
  static void declareProperties(pf::ClassBuilder<MappedUnit>& b) {
    PF_PROPERTY(b, name);
    PF_PROPERTY(b, seq);
  }
};

class MappedCourse : public MappedBase {
  PF_OBJECT(MappedCourse, MappedBase)
  std::optional<std::string> courseId;
  std::optional<std::string> title;
  int hours = 0;
  bool required = false;
  float rate = 0;
  double lastModifyTime = 0;
  pf::Date startDate;
  std::vector<std::shared_ptr<MappedUnit>> units;
  std::shared_ptr<MappedUnit> firstUnit;
  static void declareProperties(pf::ClassBuilder<MappedCourse>& b) {
    PF_PROPERTY(b, courseId);
    PF_PROPERTY(b, title);
    PF_PROPERTY(b, hours);
    PF_PROPERTY(b, required);
    PF_PROPERTY(b, rate);
    PF_PROPERTY(b, lastModifyTime);
    PF_PROPERTY(b, startDate);
    PF_PROPERTY(b, units);
    PF_PROPERTY(b, firstUnit);
  }
};

// Receives query results only.
class MappedSummary : public MappedBase {
  PF_OBJECT(MappedSummary, MappedBase)
  int unitCount = 0;
  static void declareProperties(pf::ClassBuilder<MappedSummary>& b) { PF_PROPERTY(b, unitCount); }
};

inline void registerMappingTestClasses() {
  EntityMapperContext::registerClasses();
  pf::registerClass<MappedUnit>();
  pf::registerClass<MappedCourse>();
  pf::registerClass<MappedSummary>();
}
