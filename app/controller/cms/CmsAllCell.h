#pragma once
// A catalogue row: the shared course lines plus the average rating as a number and as five stars.

#include "app/controller/cms/CmsCourseCell.h"

class ShapeMeterView;

class CmsAllCell : public CmsCourseCell {
  PF_OBJECT(CmsAllCell, CmsCourseCell)

  static constexpr char kReuseIdentifier[] = "CmsAllCell";
  static constexpr int kStarCount = 5;

  std::weak_ptr<pf::Label> scoreLabel;
  std::weak_ptr<ShapeMeterView> starView;

  // Dresses the star meter: grey track, five stars filled left to right in gold.
  void commonInit();
  void fillWithCourse(const CourseViewInfo& course) override;
};
