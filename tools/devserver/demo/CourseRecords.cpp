#include "tools/devserver/demo/CourseRecords.h"

#include <algorithm>
#include <unordered_map>

#include "tools/devserver/demo/DemoJson.h"

namespace devserver {

namespace {

using nlohmann::json;

double number(const json& object, const char* key) {
  const auto it = object.find(key);
  return it != object.end() && it->is_number() ? it->get<double>() : 0.0;
}

// The larger of the two values of a key; the server's when the device has none.
void keepLarger(json& mine, const json& theirs, const char* key) {
  const auto it = theirs.find(key);
  if (it == theirs.end() || !it->is_number()) return;
  if (!mine.contains(key) || number(mine, key) < it->get<double>()) mine[key] = *it;
}

void mergeUnit(json& unit, const json& clientUnit) {
  for (const char* key : {"currentPosition", "studyRate", "totalTime", "lastStudyTime"})
    keepLarger(unit, clientUnit, key);
  if (clientUnit.value("studyComplete", false)) unit["studyComplete"] = true;
}

}  // namespace

CourseRecords::CourseRecords(const CourseCatalogue& catalogue, std::function<double()> clock)
    : catalogue_(catalogue), clock_(std::move(clock)) {
  for (const json& seed : catalogue.recordSeeds()) {
    const json* course = catalogue.course(demo_json::text(seed, "courseId"));
    if (course) records_[demo_json::text(seed, "userId")].push_back(newRecord(demo_json::text(seed, "userId"), *course, seed));
  }
}

json CourseRecords::recordsOf(const std::string& userId) const {
  std::lock_guard lock(mutex_);
  const auto it = records_.find(userId);
  return it == records_.end() ? json::array() : json(it->second);
}

std::vector<std::string> CourseRecords::courseIdsOf(const std::string& userId) const {
  std::vector<std::string> ids;
  for (const json& record : recordsOf(userId)) ids.push_back(demo_json::text(record, "courseId"));
  return ids;
}

json CourseRecords::recordsStudiedBetween(const std::string& userId, std::optional<long long> from,
                                          std::optional<long long> to) const {
  json found = json::array();
  for (const json& record : recordsOf(userId)) {
    if (!record.contains("lastStudyTime")) continue;
    const auto studied = record.at("lastStudyTime").get<long long>();
    if ((!from || studied >= *from) && (!to || studied <= *to)) found.push_back(record);
  }
  return found;
}

int CourseRecords::unfinishedCount(const std::string& userId) const {
  const json records = recordsOf(userId);
  return static_cast<int>(std::count_if(records.begin(), records.end(),
                                        [](const json& r) { return number(r, "studyRate") < 100.0; }));
}

std::optional<json> CourseRecords::select(const std::string& userId, const std::string& courseId) {
  const json* course = catalogue_.course(courseId);
  if (!course) return std::nullopt;
  std::lock_guard lock(mutex_);
  if (json* held = find(userId, courseId)) {
    (*held)["lastModifyTime"] = nowMillis();
    return *held;
  }
  const json seed{{"courseStudyType", "SELECTIVE"}, {"obtainedWay", "SELF"}, {"lastModifyTime", nowMillis()}};
  records_[userId].push_back(newRecord(userId, *course, seed));
  return records_[userId].back();
}

bool CourseRecords::remove(const std::string& userId, const std::string& courseId) {
  std::lock_guard lock(mutex_);
  json* held = find(userId, courseId);
  if (!held || demo_json::text(*held, "obtainedWay") != "SELF") return false;
  auto& records = records_[userId];
  records.erase(records.begin() + (held - records.data()));
  return true;
}

json CourseRecords::merge(const std::string& userId, const json& clientRecords) {
  {
    std::lock_guard lock(mutex_);
    for (const json& client : clientRecords.is_array() ? clientRecords : json::array()) {
      if (!client.is_object()) continue;
      json* record = find(userId, demo_json::text(client, "courseId"));
      if (!record) continue;  // the device holds a course the user no longer has
      for (const char* key : {"studyRate", "studyTime", "lastStudyTime", "lastModifyTime"})
        keepLarger(*record, client, key);
      const json* course = catalogue_.course(demo_json::text(*record, "courseId"));
      if (course && number(*record, "studyRate") >= 100.0) (*record)["score"] = number(*course, "score");
      // By id: a course can hold hundreds of units, and every sync sends them all.
      std::unordered_map<std::string, json*> units;
      for (json& unit : (*record)["scoStudyRecordList"]) units.emplace(demo_json::text(unit, "scoId"), &unit);
      for (const json& clientUnit : client.value("scoStudyRecordList", json::array())) {
        const auto unit = units.find(demo_json::text(clientUnit, "scoId"));
        if (unit != units.end()) mergeUnit(*unit->second, clientUnit);
      }
    }
  }
  return recordsOf(userId);
}

json CourseRecords::newRecord(const std::string& userId, const json& course, const json& seed) const {
  const std::string courseId = demo_json::text(course, "id");
  const double rate = number(seed, "studyRate");
  json record{{"courseId", courseId},
              {"userId", userId},
              {"courseName", demo_json::text(course, "courseTitle")},
              {"studyRate", rate},
              {"score", rate >= 100.0 ? number(course, "score") : 0.0},
              {"minStudyTime", number(course, "minStudyTime")},
              {"studyTime", number(seed, "studyTime")},
              {"courseStudyType", seed.value("courseStudyType", "SELECTIVE")},
              {"obtainedWay", seed.value("obtainedWay", "SELF")}};
  for (const char* date : {"lastStudyTime", "lastModifyTime"}) {
    if (seed.contains(date)) record[date] = seed.at(date);
  }
  json units = json::array();
  for (const json& unit : catalogue_.unitsJson(course, "")) {
    const std::string scoId = demo_json::text(unit, "scoId");
    // Headings have nothing to study, so they count as done from the start.
    const bool chapter = unit.value("isChapter", false);
    json unitRecord{{"scoId", scoId},
                    {"courseId", courseId},
                    {"userId", userId},
                    {"currentPosition", 0},
                    {"studyComplete", chapter},
                    {"totalTime", catalogue_.videoSeconds(scoId).value_or(0) * 1000},
                    {"studyRate", chapter ? 100.0 : 0.0}};
    for (const json& seeded : seed.value("units", json::array())) {
      if (demo_json::text(seeded, "scoId") == scoId) unitRecord.update(seeded);
    }
    units.push_back(std::move(unitRecord));
  }
  record["scoStudyRecordList"] = std::move(units);
  return record;
}

json* CourseRecords::find(const std::string& userId, const std::string& courseId) {
  auto& records = records_[userId];
  const auto it = std::find_if(records.begin(), records.end(),
                               [&](const json& r) { return demo_json::text(r, "courseId") == courseId; });
  return it == records.end() ? nullptr : &*it;
}

long long CourseRecords::nowMillis() const {
  return static_cast<long long>(clock_() * 1000.0);
}

}  // namespace devserver
