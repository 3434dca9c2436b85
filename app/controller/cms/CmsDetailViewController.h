#pragma once
// The course detail: four tabs over one course (study, brief, comments, download) and the navigation
// bar each tab dresses when it shows. Made with the default constructor; the opener sets
// hidesBottomBarWhenPushed, viewType and the course (its units loaded) before pushing it.
//
// Main thread only.

#include <memory>

#include "app/controller/cms/CmsDetailBaseViewControllerDelegate.h"
#include "platform/ui/TabBarController.h"

class CourseViewInfo;

class CmsDetailViewController : public pf::TabBarController, public CmsDetailBaseViewControllerDelegate {
  PF_OBJECT(CmsDetailViewController, pf::TabBarController)

  // 1 when opened from the learner's own courses, 0 from the catalogue, a category or a search.
  static constexpr int kViewTypeCatalogue = 0;
  static constexpr int kViewTypeMyCourses = 1;

  CmsDetailViewController();
  ~CmsDetailViewController() override;

  int viewType = kViewTypeCatalogue;

  const std::shared_ptr<CourseViewInfo>& courseViewInfo() const { return courseViewInfo_; }
  void setCourseViewInfo(std::shared_ptr<CourseViewInfo> info);

  void goback();
  void afterEditCourseSelectCondition(const std::shared_ptr<CourseViewInfo>& info) override;

 private:
  std::shared_ptr<CourseViewInfo> courseViewInfo_;
};
