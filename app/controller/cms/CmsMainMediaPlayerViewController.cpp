#include "app/controller/cms/CmsMainMediaPlayerViewController.h"

#include "app/controller/cms/CmsMediaPlayerViewController.h"
#include "app/controller/cms/CmsOnlylecturePlayerViewController.h"
#include "app/model/cms/CourseViewInfo.h"
#include "app/model/cms/ScoViewInfo.h"
#include "app/util/ViewUtil.h"
#include "platform/ui/Screen.h"

CmsMainMediaPlayerViewController::CmsMainMediaPlayerViewController() = default;
CmsMainMediaPlayerViewController::~CmsMainMediaPlayerViewController() = default;

void CmsMainMediaPlayerViewController::viewDidLoad() {
  BaseViewController::viewDidLoad();
  const bool hasVideo = scoViewInfo && !scoViewInfo->videoUrl.value_or("").empty();
  if (hasVideo) {
    auto video = std::dynamic_pointer_cast<CmsMediaPlayerViewController>(
        ViewUtil::viewControllerFromNibOfClass(CmsMediaPlayerViewController::kClassName));
    video->courseViewInfo = courseViewInfo;
    video->scoViewInfo = scoViewInfo;
    player_ = video;
  } else {
    auto lecture = std::make_shared<CmsOnlylecturePlayerViewController>();
    lecture->courseViewInfo = courseViewInfo;
    lecture->scoViewInfo = scoViewInfo;
    player_ = lecture;
  }
  const pf::Rect screen = pf::Screen::mainScreen().bounds();
  player_->view()->setFrame(pf::Rect(0, 0, screen.width(), screen.height()));
  addChildViewController(player_);
  view()->addSubview(player_->view());
}
