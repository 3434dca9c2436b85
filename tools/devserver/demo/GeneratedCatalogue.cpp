#include "tools/devserver/demo/GeneratedCatalogue.h"

#include <fstream>

#include <nlohmann/json.hpp>

namespace devserver {

std::string generatedCourseId(int course) {
  return "GEN-" + std::to_string(course);
}

std::string generatedUnitId(int course, int unit) {
  return generatedCourseId(course) + "-" + std::to_string(unit);
}

std::string writeGeneratedCatalogue(const std::filesystem::path& dataFolder, int courses, int units,
                                    const std::string& userId) {
  nlohmann::json data = {{"passRate", 80},
                         {"categories", {{"categoryId", "ROOT"}, {"categoryName", "全部"}, {"showOrder", 0}}},
                         {"courses", nlohmann::json::array()},
                         {"promotions", nlohmann::json::array()},
                         {"records", nlohmann::json::array()},
                         {"comments", nlohmann::json::array()}};
  for (int c = 0; c < courses; ++c) {
    const std::string id = generatedCourseId(c);
    nlohmann::json course = {{"id", id},
                             {"courseCode", id},
                             {"categoryId", "ROOT"},
                             {"courseTitle", id},
                             {"courseStandard", "THREESCREEN"},
                             {"units", nlohmann::json::array()}};
    for (int u = 0; u < units; ++u)
      course["units"].push_back({{"scoId", generatedUnitId(c, u)},
                                 {"scoName", "第" + std::to_string(u + 1) + "节：单元"},
                                 {"showOrder", std::to_string(u + 1)}});
    data["courses"].push_back(course);
    data["records"].push_back({{"userId", userId},
                               {"courseId", id},
                               {"courseStudyType", "MUST"},
                               {"obtainedWay", "ASSIGN"},
                               {"lastModifyTime", 1764460800000LL + c}});
  }
  std::filesystem::create_directories(dataFolder / "cms");
  std::ofstream(dataFolder / "cms" / "catalogue.json") << data.dump();
  return dataFolder.string();
}

std::string writeBrowsingCatalogue(const std::filesystem::path& dataFolder, int courses, int owned,
                                   const std::string& ownedText, const std::string& userId) {
  nlohmann::json data = {{"passRate", 80},
                         {"categories", {{"categoryId", "ROOT"}, {"categoryName", "全部"}, {"showOrder", 0}}},
                         {"courses", nlohmann::json::array()},
                         {"promotions", nlohmann::json::array()},
                         {"records", nlohmann::json::array()},
                         {"comments", nlohmann::json::array()}};
  for (int c = 0; c < courses; ++c) {
    const std::string id = generatedCourseId(c);
    const bool mine = c < owned;
    const std::string title = (mine ? ownedText : std::string("课程")) + " " + std::to_string(c);
    data["courses"].push_back({{"id", id},
                               {"courseCode", id},
                               {"categoryId", "ROOT"},
                               {"courseTitle", title},
                               {"courseStandard", "THREESCREEN"},
                               {"coursePeriod", 1.5},
                               {"score", 2},
                               {"avgPoint", 4},
                               {"releaseDate", 1764460800000LL - c},
                               // Without covers: a second catalogue on one server serves no media.
                               {"noCover", true},
                               {"units", {{{"scoId", generatedUnitId(c, 0)}, {"scoName", "第1节：单元"}, {"showOrder", "1"}}}}});
    if (mine)
      data["records"].push_back({{"userId", userId},
                                 {"courseId", id},
                                 {"courseStudyType", "MUST"},
                                 {"obtainedWay", "ASSIGN"},
                                 {"lastModifyTime", 1764460800000LL + c}});
  }
  std::filesystem::create_directories(dataFolder / "cms");
  std::ofstream(dataFolder / "cms" / "catalogue.json") << data.dump();
  return dataFolder.string();
}

}  // namespace devserver
