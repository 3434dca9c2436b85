#include "app/controller/cms/CmsOnlylecturePlayerViewController.h"

#include "app/model/cms/CourseViewInfo.h"
#include "app/model/cms/ScoViewInfo.h"

CmsOnlylecturePlayerViewController::CmsOnlylecturePlayerViewController() = default;
CmsOnlylecturePlayerViewController::~CmsOnlylecturePlayerViewController() = default;

void CmsOnlylecturePlayerViewController::viewDidLoad() { BaseViewController::viewDidLoad(); }
