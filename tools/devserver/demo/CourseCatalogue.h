#pragma once
// The stand-in's demo course catalogue, read once from a JSON file: the category tree, the courses
// with their teachers and units, the promoted courses, the corporation's pass rate, and the seeds of
// the users' study records and of the course comments. Read-only after reading; its JSON renderings
// are the shapes the client's entities read. Media addresses point at this server's "/media/cms/"
// and are rendered for the host the caller names.

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace devserver {

class CourseCatalogue {
 public:
  static constexpr char kVideoPath[] = "/media/cms/video/";
  static constexpr char kLecturePath[] = "/media/cms/lecture/";
  static constexpr char kCoverPath[] = "/media/cms/cover/";

  // nullopt with *problem saying what is wrong when the file is missing or malformed.
  static std::optional<CourseCatalogue> read(const std::string& path, std::string* problem);

  double passRate() const { return data_.value("passRate", 0.0); }
  const nlohmann::json& categoryTree() const { return data_.at("categories"); }
  // The catalogue's entry of a course (with "units"), or null.
  const nlohmann::json* course(const std::string& courseId) const;
  const nlohmann::json* courseByCode(const std::string& courseCode) const;
  // Entries of the courses in the category or below it (every course for an empty id) whose title,
  // teachers or tags hold the keywords (ignoring ASCII case); with supportMobile, only courses a
  // phone can open.
  std::vector<const nlohmann::json*> findCourses(const std::optional<std::string>& categoryId,
                                                 const std::optional<std::string>& keywords,
                                                 bool supportMobile) const;
  const nlohmann::json& promotionSeeds() const { return data_.at("promotions"); }
  const nlohmann::json& recordSeeds() const { return data_.at("records"); }
  const nlohmann::json& commentSeeds() const { return data_.at("comments"); }

  // A course as CourseInfo reads it.
  nlohmann::json courseJson(const nlohmann::json& course, const std::string& host) const;
  // A course's units as CourseSco reads them, in the catalogue's order; none for a single-video
  // course, whose one unit the client makes itself.
  nlohmann::json unitsJson(const nlohmann::json& course, const std::string& host) const;
  nlohmann::json promotionsJson(const std::string& host) const;
  // Seconds of the video of a unit or of a single-video course; nullopt when it has none.
  std::optional<int> videoSeconds(const std::string& id) const;
  // Name of the unit whose lecture this is; nullopt when there is no such lecture.
  std::optional<std::string> lectureTitle(const std::string& scoId) const;
  // The lecture's page is a web server's "404 Not Found" page answered with status 200, as a
  // misconfigured document server does.
  bool lectureMissing(const std::string& scoId) const;

 private:
  explicit CourseCatalogue(nlohmann::json data) : data_(std::move(data)) {}
  const nlohmann::json* unit(const std::string& scoId) const;
  std::optional<std::string> categoryName(const std::string& categoryId) const;

  nlohmann::json data_;
};

}  // namespace devserver
