#pragma once
// Mapped classes with relations for the object-store tests (mapping:
// fixtures/core/db/store/relations_mapping.xml): a course holds its study records and one cover, a
// record holds its notes; each related object keeps its owner's key.

#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"

class RelNote : public pf::Object {
  PF_OBJECT(RelNote, pf::Object)
  std::optional<std::string> nid;
  std::optional<std::string> recordId;
  std::optional<std::string> text;
  static void declareProperties(pf::ClassBuilder<RelNote>& b) {
    PF_PROPERTY(b, nid);
    PF_PROPERTY(b, recordId);
    PF_PROPERTY(b, text);
  }
};

class RelRecord : public pf::Object {
  PF_OBJECT(RelRecord, pf::Object)
  std::optional<std::string> sid;
  std::optional<std::string> courseId;
  float studyRate = 0;
  pf::ArrayPtr notes;
  static void declareProperties(pf::ClassBuilder<RelRecord>& b) {
    PF_PROPERTY(b, sid);
    PF_PROPERTY(b, courseId);
    PF_PROPERTY(b, studyRate);
    PF_PROPERTY(b, notes);
  }
};

class RelCover : public pf::Object {
  PF_OBJECT(RelCover, pf::Object)
  std::optional<std::string> coverId;
  std::optional<std::string> courseId;
  std::optional<std::string> url;
  static void declareProperties(pf::ClassBuilder<RelCover>& b) {
    PF_PROPERTY(b, coverId);
    PF_PROPERTY(b, courseId);
    PF_PROPERTY(b, url);
  }
};

class RelCourse : public pf::Object {
  PF_OBJECT(RelCourse, pf::Object)
  std::optional<std::string> courseId;
  std::optional<std::string> title;
  pf::ArrayPtr records;
  std::shared_ptr<RelCover> cover;
  static void declareProperties(pf::ClassBuilder<RelCourse>& b) {
    PF_PROPERTY(b, courseId);
    PF_PROPERTY(b, title);
    PF_PROPERTY(b, records);
    PF_PROPERTY(b, cover);
  }
};

inline void registerRelationTestClasses() {
  pf::registerClass<RelNote>();
  pf::registerClass<RelRecord>();
  pf::registerClass<RelCover>();
  pf::registerClass<RelCourse>();
}
