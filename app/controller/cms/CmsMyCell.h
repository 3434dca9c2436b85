#pragma once
// A row of the learner's own courses: the shared course lines plus progress as a percentage with two
// decimals and a completed mark above 99.

#include "app/controller/cms/CmsCourseCell.h"

class CmsMyCell : public CmsCourseCell {
  PF_OBJECT(CmsMyCell, CmsCourseCell)

  static constexpr char kReuseIdentifier[] = "CmsMyCell";
  static constexpr float kCompletedAbove = 99;

  std::weak_ptr<pf::Label> scheduleLabel;
  std::weak_ptr<pf::ImageView> completeImgView;

  void fillWithCourse(const CourseViewInfo& course) override;
};
