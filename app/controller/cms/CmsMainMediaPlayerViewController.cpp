#include "app/controller/cms/CmsMainMediaPlayerViewController.h"

#include "app/model/cms/CourseViewInfo.h"
#include "app/model/cms/ScoViewInfo.h"

CmsMainMediaPlayerViewController::CmsMainMediaPlayerViewController() = default;
CmsMainMediaPlayerViewController::~CmsMainMediaPlayerViewController() = default;

void CmsMainMediaPlayerViewController::viewDidLoad() { BaseViewController::viewDidLoad(); }
