#pragma once
// Told by a course detail tab after the course was selected or removed, with the course to show.

#include <memory>

class CourseViewInfo;

class CmsDetailBaseViewControllerDelegate {
 public:
  virtual ~CmsDetailBaseViewControllerDelegate() = default;
  virtual void afterEditCourseSelectCondition(const std::shared_ptr<CourseViewInfo>& info) = 0;
};
