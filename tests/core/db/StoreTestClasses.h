#pragma once
// Small mapped classes for the object-store tests (mapping: fixtures/core/db/store/store_mapping.xml).

#include <optional>
#include <string>

#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"

class StoreCourse : public pf::Object {
  PF_OBJECT(StoreCourse, pf::Object)
  std::optional<std::string> courseId;
  std::optional<std::string> title;
  int hours = 0;
  bool required = false;
  float rate = 0;
  double score = 0;
  std::optional<pf::Date> lastModifyTime;
  long long size = 0;
  static void declareProperties(pf::ClassBuilder<StoreCourse>& b) {
    PF_PROPERTY(b, courseId);
    PF_PROPERTY(b, title);
    PF_PROPERTY(b, hours);
    PF_PROPERTY(b, required);
    PF_PROPERTY(b, rate);
    PF_PROPERTY(b, score);
    PF_PROPERTY(b, lastModifyTime);
    PF_PROPERTY(b, size);
  }
};

// Its key is declared "varchar(32)": not the exact text that earns a generated key.
class StoreRecord : public pf::Object {
  PF_OBJECT(StoreRecord, pf::Object)
  std::optional<std::string> sid;
  std::optional<std::string> courseId;
  float studyRate = 0;
  static void declareProperties(pf::ClassBuilder<StoreRecord>& b) {
    PF_PROPERTY(b, sid);
    PF_PROPERTY(b, courseId);
    PF_PROPERTY(b, studyRate);
  }
};

// Receives query results only; hours starts at 7 so that a NULL visibly leaves it alone.
class StoreCourseView : public pf::Object {
  PF_OBJECT(StoreCourseView, pf::Object)
  std::optional<std::string> courseId;
  std::optional<std::string> title;
  int hours = 7;
  float studyRate = 0;
  std::optional<pf::Date> lastModifyTime;
  static void declareProperties(pf::ClassBuilder<StoreCourseView>& b) {
    PF_PROPERTY(b, courseId);
    PF_PROPERTY(b, title);
    PF_PROPERTY(b, hours);
    PF_PROPERTY(b, studyRate);
    PF_PROPERTY(b, lastModifyTime);
  }
};

// Registered but named in no mapping.
class StoreUnmapped : public pf::Object {
  PF_OBJECT(StoreUnmapped, pf::Object)
};

inline void registerStoreTestClasses() {
  pf::registerClass<StoreCourse>();
  pf::registerClass<StoreRecord>();
  pf::registerClass<StoreCourseView>();
  pf::registerClass<StoreUnmapped>();
}
