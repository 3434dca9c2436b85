#include "app/controller/cms/CmsDetailViewController.h"

#include "app/model/cms/CourseViewInfo.h"
#include "platform/ui/NavigationController.h"

CmsDetailViewController::CmsDetailViewController() = default;
CmsDetailViewController::~CmsDetailViewController() = default;

void CmsDetailViewController::setCourseViewInfo(std::shared_ptr<CourseViewInfo> info) {
  courseViewInfo_ = std::move(info);
}

void CmsDetailViewController::goback() {
  if (auto navigation = navigationController()) navigation->popViewControllerAnimated(true);
}

void CmsDetailViewController::afterEditCourseSelectCondition(const std::shared_ptr<CourseViewInfo>& info) {
  setCourseViewInfo(info);
}
