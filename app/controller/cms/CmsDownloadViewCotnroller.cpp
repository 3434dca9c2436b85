#include "app/controller/cms/CmsDownloadViewCotnroller.h"

#include "app/model/cms/CourseViewInfo.h"
#include "app/model/cms/ScoViewInfo.h"
#include "app/service/cms/DownloadService.h"

CmsDownloadViewCotnroller::CmsDownloadViewCotnroller() = default;
CmsDownloadViewCotnroller::~CmsDownloadViewCotnroller() = default;

void CmsDownloadViewCotnroller::viewDidLoad() { BaseTableViewController::viewDidLoad(); }
void CmsDownloadViewCotnroller::rightBtnPressed() {}
void CmsDownloadViewCotnroller::goback() {}
void CmsDownloadViewCotnroller::resetRightBadgeNumber() {}
