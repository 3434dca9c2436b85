#include "app/controller/cms/CmsAllCell.h"

#include "app/components/meter/BasicShapes.h"
#include "app/components/meter/ShapeMeterView.h"
#include "app/model/cms/CourseViewInfo.h"
#include "core/util/NumberString.h"
#include "platform/ui/Appearance.h"
#include "platform/ui/Label.h"

void CmsAllCell::commonInit() {
  pf::Appearance::of<ShapeMeterView>().set(&ShapeMeterView::setTrackTintColor,
                                           std::optional<pf::Color>(pf::Color::lightGray()));
  auto stars = starView.lock();
  if (!stars) return;
  stars->setMeterType(2);
  stars->setShape(BasicShapes::stars(kStarCount, stars->bounds()));
  stars->setProgressTintColor(pf::Color::fromRgba(1.0, 199.0 / 255, 87.0 / 255, 1.0));
}

void CmsAllCell::fillWithCourse(const CourseViewInfo& course) {
  CmsCourseCell::fillWithCourse(course);
  if (auto stars = starView.lock()) stars->setProgress(course.avgPoint / kStarCount);
  if (auto label = scoreLabel.lock()) label->setText(StringWithFloat(course.avgPoint, 1));
}
