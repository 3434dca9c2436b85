#pragma once
// What the two course rows share: cover, title, category and lecturer lines, hours, credits and the
// coloured learning-type tag, whose presence moves the category and lecturer lines. Every fill sets
// or clears each of these, so a reused row keeps nothing of the course before.

#include <memory>

#include "platform/ui/TableViewCell.h"

namespace pf {
class ImageView;
class Label;
}  // namespace pf
class CourseViewInfo;

class CmsCourseCell : public pf::TableViewCell {
  PF_OBJECT(CmsCourseCell, pf::TableViewCell)

  static constexpr char kPlaceholderImage[] = "CMS_MAIN_book_bg.png";
  static constexpr char kNoTeacher[] = "暂无";
  // Space between the tag and the category caption.
  static constexpr double kTagGap = 7;

  std::weak_ptr<pf::ImageView> courseImage;
  std::weak_ptr<pf::Label> title;
  std::weak_ptr<pf::Label> categoryTitle;
  std::weak_ptr<pf::Label> categoryLabel;
  std::weak_ptr<pf::Label> teacherTitle;
  std::weak_ptr<pf::Label> teacherLabel;
  std::weak_ptr<pf::Label> periodLabel;
  std::weak_ptr<pf::Label> gradeLabel;
  std::weak_ptr<pf::ImageView> learningTypeImageView;
  std::weak_ptr<pf::Label> learningTypeLabel;

  virtual void fillWithCourse(const CourseViewInfo& course);
  void setLearningTypeImageViewHidden(bool hidden);
};
