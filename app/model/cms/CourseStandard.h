#pragma once
// The vocabulary of course standards (CourseInfo::courseStandard, compared exactly) and what each
// decides: which progress rule records study, whether a course is a single video, whether the player
// lets the user seek ahead, and what the course lists say when a course has no units.

#include <optional>
#include <string>

class CourseStandard {
 public:
  static constexpr char kThreeScreen[] = "THREESCREEN";
  static constexpr char kTwoScreen[] = "TWOSCREEN";
  static constexpr char kOneScreen[] = "ONESCREEN";
  static constexpr char kOnlinePackage[] = "ONLINEPACKAGE";
  static constexpr char kOnlineUrl[] = "OLINEURL";
  static constexpr char kOnlineDoc[] = "ONLINEDOC";
  static constexpr char kScorm12[] = "SCORM12";
  static constexpr char kScorm14[] = "SCORM14";
  static constexpr char kDownload[] = "DOWNLOAD";

  static constexpr char kNotForMobileMessage[] = "该课程不支持移动端学习";
  static constexpr char kNoUnitsMessage[] = "获取章节失败！";

  // Progress is kept per unit (THREESCREEN, TWOSCREEN); every other standard counts it per course.
  static bool hasUnitProgress(const std::optional<std::string>& standard);
  // The course is one video whose one unit is made from the course itself.
  static bool isSingleVideo(const std::optional<std::string>& standard);
  // The player lets the user seek beyond the position reached.
  static bool allowsFreeSeeking(const std::optional<std::string>& standard);
  // SCORM and download-only courses are never opened on the device.
  static bool isStudiableOnDevice(const std::optional<std::string>& standard);
  // What the course lists say when a course has no units to open.
  static const char* emptyUnitListMessage(const std::optional<std::string>& standard);
};
