#pragma once
// The course records the JSON benchmarks map: a course with scalar members, a date, a list of texts and
// a list of two lessons, as the catalogue answers them, and the text of a page of them.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "core/reflect/ReflectionUtil.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/ClassBuilder.h"

namespace bench {

class BenchLesson : public pf::Object {
  PF_OBJECT(BenchLesson, pf::Object)
  std::optional<std::string> lessonId;
  std::optional<std::string> title;
  int minutes = 0;
  static void declareProperties(pf::ClassBuilder<BenchLesson>& b) {
    PF_PROPERTY(b, lessonId);
    PF_PROPERTY(b, title);
    PF_PROPERTY(b, minutes);
  }
};

class BenchCourse : public pf::Object {
  PF_OBJECT(BenchCourse, pf::Object)
  std::optional<std::string> courseId;
  std::optional<std::string> courseTitle;
  std::optional<std::string> courseStandard;
  int studyHours = 0;
  double passRate = 0;
  bool required = false;
  std::optional<pf::Date> createTime;
  std::vector<std::string> tags;
  std::vector<std::shared_ptr<BenchLesson>> lessons;
  static void declareProperties(pf::ClassBuilder<BenchCourse>& b) {
    PF_PROPERTY(b, courseId);
    PF_PROPERTY(b, courseTitle);
    PF_PROPERTY(b, courseStandard);
    PF_PROPERTY(b, studyHours);
    PF_PROPERTY(b, passRate);
    PF_PROPERTY(b, required);
    PF_PROPERTY(b, createTime);
    PF_PROPERTY(b, tags);
    PF_PROPERTY(b, lessons);
  }
};

inline void registerBenchCourses() {
  pf::registerClass<BenchCourse>();
  pf::registerClass<BenchLesson>();
  ReflectionUtil::setArrayType("BenchLesson", "lessons", "BenchCourse");
  ReflectionUtil::setArrayType("NSString", "tags", "BenchCourse");
}

// A JSON array of `count` courses; with `unknownMember` each also carries a member no entity declares.
inline std::string benchCoursesText(int count, bool unknownMember) {
  nlohmann::json rows = nlohmann::json::array();
  for (int i = 0; i < count; ++i) {
    nlohmann::json lessons = nlohmann::json::array();
    for (int j = 0; j < 2; ++j) {
      lessons.push_back({{"lessonId", std::string("L").append(std::to_string(i * 10 + j))},
                         {"title", "第" + std::to_string(j + 1) + "讲 Lesson"},
                         {"minutes", 20 + j}});
    }
    nlohmann::json row = {{"courseId", "8A9F0C2E4B7D4E1A9C3B" + std::to_string(100000 + i)},
                          {"courseTitle", "安全生产培训 Course number " + std::to_string(i)},
                          {"courseStandard", "THREESCREEN"},
                          {"studyHours", i % 40},
                          {"passRate", 0.6},
                          {"required", i % 2 == 0},
                          {"createTime", 1700000000000LL + i}};
    if (unknownMember) row["unknownMember"] = "ignored";
    row["tags"] = {"safety", "required"};
    row["lessons"] = lessons;
    rows.push_back(std::move(row));
  }
  return rows.dump();
}

}  // namespace bench
