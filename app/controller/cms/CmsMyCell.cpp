#include "app/controller/cms/CmsMyCell.h"

#include "app/model/cms/CourseViewInfo.h"
#include "core/util/NumberString.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

void CmsMyCell::fillWithCourse(const CourseViewInfo& course) {
  CmsCourseCell::fillWithCourse(course);
  if (auto label = scheduleLabel.lock()) label->setText(StringWithFloat(course.studyRate, 2) + "%");
  if (auto mark = completeImgView.lock()) mark->setHidden(!(course.studyRate > kCompletedAbove));
}
