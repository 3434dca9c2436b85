#pragma once
// The course information row of the study and brief tabs: picture, name, type badge, lecturer, hours,
// credits, the completion condition (or the learner's progress) and the category. Loaded from its
// interface file; every fill sets every label, so a reused row keeps nothing of the last course.
//
// Main thread only.

#include <memory>
#include <optional>
#include <string>

#include "app/controller/cms/DownloadCell.h"

namespace pf {
class ImageView;
class Label;
}  // namespace pf
class CourseViewInfo;

class CmsBaseInfoCell : public DownloadCell {
  PF_OBJECT(CmsBaseInfoCell, DownloadCell)

  // The hours and credits texts differ between the tabs that show this row.
  struct Formats {
    const char* hours;
    const char* credits;
  };
  static constexpr Formats kStudyFormats{"学时：%0.1f", "学分：%0.1f"};
  static constexpr Formats kBriefFormats{"学时: %0.1f", "学分: %0.1f"};
  static constexpr char kProgressFormat[] = "学习进度: %0.1f%%";
  static constexpr char kPlaceholderImage[] = "CMS_MAIN_book_bg.png";

  std::weak_ptr<pf::ImageView> courseImgView;
  std::weak_ptr<pf::Label> courseNameLabel;
  std::weak_ptr<pf::Label> courseStudyTypeLabel;
  std::weak_ptr<pf::Label> lecturerLabel;
  std::weak_ptr<pf::Label> studyTimeLabel;
  std::weak_ptr<pf::Label> studyScoreLabel;
  std::weak_ptr<pf::Label> graduateConditionLabel;
  std::weak_ptr<pf::Label> courseCatagoryLabel;
  std::weak_ptr<pf::ImageView> courseTypeBgImgView;
  std::weak_ptr<pf::ImageView> backgroundImageView;

  const std::optional<std::string>& courseStudyType() const { return courseStudyType_; }
  // "SELECTIVE" or "MUST" shows the badge and shifts the category and lecturer labels after it.
  void setCourseStudyType(std::optional<std::string> type);
  const std::optional<std::string>& graduateCondition() const { return graduateCondition_; }
  // A known completion code shows its text; anything else clears the label.
  void setGraduateCondition(std::optional<std::string> code);
  static std::optional<std::string> graduateConditionText(const std::optional<std::string>& code);

  void fillWithCourse(const CourseViewInfo& course, const Formats& formats);

  void awakeFromNib() override;

 private:
  std::optional<std::string> courseStudyType_;
  std::optional<std::string> graduateCondition_;
};
