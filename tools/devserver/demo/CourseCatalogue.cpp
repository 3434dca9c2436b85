#include "tools/devserver/demo/CourseCatalogue.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

#include "tools/devserver/demo/DemoJson.h"

namespace devserver {

namespace {

using nlohmann::json;

constexpr const char* kNotForPhones[] = {"SCORM12", "SCORM14", "DOWNLOAD"};

std::string lowerAscii(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// A list member by reference (pointers into it stay valid); an empty list when absent.
const json& listOf(const json& object, const char* key) {
  static const json empty = json::array();
  const auto it = object.find(key);
  return it != object.end() && it->is_array() ? *it : empty;
}

// The ids of a category and of everything below it; empty when the tree has no such category.
bool collectSubtree(const json& category, const std::string& categoryId, bool inside,
                    std::vector<std::string>& ids) {
  inside = inside || demo_json::text(category, "categoryId") == categoryId;
  if (inside) ids.push_back(demo_json::text(category, "categoryId"));
  bool found = inside;
  for (const json& child : listOf(category, "childCategories")) {
    found = collectSubtree(child, categoryId, inside, ids) || found;
  }
  return found;
}

std::string teacherNames(const json& course) {
  std::string names;
  for (const json& teacher : listOf(course, "teacherList")) {
    if (!names.empty()) names += "，";
    names += demo_json::text(teacher, "teacherName");
  }
  return names;
}

bool holds(const json& course, const std::string& keywords) {
  const std::string wanted = lowerAscii(keywords);
  for (const std::string& field :
       {demo_json::text(course, "courseTitle"), teacherNames(course), demo_json::text(course, "tagName")}) {
    if (lowerAscii(field).find(wanted) != std::string::npos) return true;
  }
  return false;
}

bool opensOnPhones(const json& course) {
  const std::string standard = demo_json::text(course, "courseStandard");
  return std::none_of(std::begin(kNotForPhones), std::end(kNotForPhones),
                      [&](const char* value) { return standard == value; });
}

const json* findIn(const json& list, const char* key, const std::string& value) {
  for (const json& entry : list) {
    if (demo_json::text(entry, key) == value) return &entry;
  }
  return nullptr;
}

const json* findCategory(const json& category, const std::string& categoryId) {
  if (demo_json::text(category, "categoryId") == categoryId) return &category;
  for (const json& child : listOf(category, "childCategories")) {
    if (const json* found = findCategory(child, categoryId)) return found;
  }
  return nullptr;
}

// A course's "generatedUnits" {"count", "videoSeconds", "idPrefix", "firstShowOrder"} appends count
// video units "<idPrefix><n>" named "第<n>讲" after the units listed, so a catalogue holds a long
// course without listing it.
void expandGeneratedUnits(json& course) {
  const auto generated = course.find("generatedUnits");
  if (generated == course.end()) return;
  const int count = generated->value("count", 0);
  const int seconds = generated->value("videoSeconds", 30);
  const std::string prefix = generated->value("idPrefix", demo_json::text(course, "id") + "-");
  const int firstShowOrder = generated->value("firstShowOrder", 1);
  json& units = course["units"];
  if (!units.is_array()) units = json::array();
  for (int n = 1; n <= count; ++n) {
    units.push_back({{"scoId", prefix + std::to_string(n)},
                     {"scoName", "第" + std::to_string(n) + "讲"},
                     {"showOrder", std::to_string(firstShowOrder + n - 1)},
                     {"videoSeconds", seconds}});
  }
  course.erase("generatedUnits");
}

}  // namespace

std::optional<CourseCatalogue> CourseCatalogue::read(const std::string& path, std::string* problem) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *problem = "cannot read " + path;
    return std::nullopt;
  }
  std::ostringstream content;
  content << in.rdbuf();
  json data = json::parse(content.str(), nullptr, false);
  for (const char* key : {"categories", "courses", "promotions", "records", "comments"}) {
    if (data.is_discarded() || !data.contains(key)) {
      *problem = path + ": no JSON object with \"" + key + "\"";
      return std::nullopt;
    }
  }
  for (json& course : data["courses"]) expandGeneratedUnits(course);
  return CourseCatalogue(std::move(data));
}

const json* CourseCatalogue::course(const std::string& courseId) const {
  return findIn(data_.at("courses"), "id", courseId);
}

const json* CourseCatalogue::courseByCode(const std::string& courseCode) const {
  return findIn(data_.at("courses"), "courseCode", courseCode);
}

std::vector<const json*> CourseCatalogue::findCourses(const std::optional<std::string>& categoryId,
                                                      const std::optional<std::string>& keywords,
                                                      bool supportMobile) const {
  std::vector<std::string> categories;
  const bool byCategory = categoryId && !categoryId->empty();
  if (byCategory && !collectSubtree(categoryTree(), *categoryId, false, categories)) return {};
  std::vector<const json*> found;
  for (const json& entry : data_.at("courses")) {
    if (byCategory &&
        std::find(categories.begin(), categories.end(), demo_json::text(entry, "categoryId")) == categories.end())
      continue;
    if (keywords && !keywords->empty() && !holds(entry, *keywords)) continue;
    if (supportMobile && !opensOnPhones(entry)) continue;
    found.push_back(&entry);
  }
  return found;
}

json CourseCatalogue::courseJson(const json& course, const std::string& host) const {
  json answer = course;
  answer.erase("units");
  answer.erase("videoSeconds");
  const std::string id = demo_json::text(course, "id");
  answer["categoryName"] = categoryName(demo_json::text(course, "categoryId")).value_or("");
  answer["teacher"] = teacherNames(course);
  answer.erase("noCover");
  answer.erase("purview");
  // A course marked without a cover has none, so lists show their placeholder.
  if (!course.value("noCover", false)) answer["coverPath"] = "http://" + host + kCoverPath + id + ".png";
  answer["accessUrl"] = "http://" + host + "/courses/" + id;
  answer["online"] = true;
  answer["corpCode"] = "demo";
  answer["language"] = "zh_CN";
  answer["commentCount"] = std::count_if(data_.at("comments").begin(), data_.at("comments").end(),
                                         [&](const json& c) { return demo_json::text(c, "courseId") == id; });
  if (course.contains("videoSeconds")) answer["videoUrl"] = "http://" + host + kVideoPath + id + ".mp4";
  return answer;
}

json CourseCatalogue::unitsJson(const json& course, const std::string& host) const {
  json units = json::array();
  if (demo_json::text(course, "courseStandard") == "ONESCREEN") return units;
  for (const json& entry : listOf(course, "units")) {
    const std::string scoId = demo_json::text(entry, "scoId");
    json unit{{"courseId", demo_json::text(course, "id")},        {"scoId", scoId},
              {"scoName", demo_json::text(entry, "scoName")},     {"isChapter", entry.value("isChapter", false)},
              {"showOrder", demo_json::text(entry, "showOrder")}, {"minStudyTime", entry.value("minStudyTime", 0LL)}};
    // A unit marked "videoMissing" names a video this server answers 404 for.
    if (entry.contains("videoSeconds") || entry.value("videoMissing", false)) unit["videoUrl"] = "http://" + host + kVideoPath + scoId + ".mp4";
    if (entry.value("lecture", false)) {
      unit["lectureUrl"] = "http://" + host + kLecturePath + scoId + ".html";
      unit["lecture"] = scoId;
    }
    units.push_back(std::move(unit));
  }
  return units;
}

json CourseCatalogue::promotionsJson(const std::string& host) const {
  json promotions = json::array();
  for (const json& seed : promotionSeeds()) {
    const json* promoted = course(demo_json::text(seed, "courseId"));
    if (!promoted) continue;
    json promotion = seed;
    promotion["courseName"] = demo_json::text(*promoted, "courseTitle");
    const std::string cover = "http://" + host + kCoverPath + demo_json::text(*promoted, "id") + ".png";
    for (const char* size : {"coverImgBig", "coverImgMiddle", "coverImgSmall", "coverImgLeast"})
      promotion[size] = cover;
    promotions.push_back(std::move(promotion));
  }
  return promotions;
}

std::optional<int> CourseCatalogue::videoSeconds(const std::string& id) const {
  const json* owner = course(id);
  if (!owner) owner = unit(id);
  if (!owner || !owner->contains("videoSeconds")) return std::nullopt;
  return owner->at("videoSeconds").get<int>();
}

std::optional<std::string> CourseCatalogue::lectureTitle(const std::string& scoId) const {
  const json* found = unit(scoId);
  if (!found || !found->value("lecture", false)) return std::nullopt;
  return demo_json::text(*found, "scoName");
}

bool CourseCatalogue::lectureMissing(const std::string& scoId) const {
  const json* found = unit(scoId);
  return found && found->value("lectureMissing", false);
}

const json* CourseCatalogue::unit(const std::string& scoId) const {
  for (const json& entry : data_.at("courses")) {
    if (const json* found = findIn(listOf(entry, "units"), "scoId", scoId)) return found;
  }
  return nullptr;
}

std::optional<std::string> CourseCatalogue::categoryName(const std::string& categoryId) const {
  const json* category = findCategory(categoryTree(), categoryId);
  if (!category) return std::nullopt;
  return demo_json::text(*category, "categoryName");
}

}  // namespace devserver
