#pragma once
// The player of a unit without a video: its lecture page in landscape under a header with the back
// button. The seconds from the page's last completed load to the back press are saved as study time;
// a missing page says so and closes the player without saving.
//
// Main thread only; the save runs synchronously on it.

#include <memory>

#include "app/controller/cmn/BaseViewController.h"

class CourseViewInfo;
class ScoViewInfo;

class CmsOnlylecturePlayerViewController : public BaseViewController {
  PF_OBJECT(CmsOnlylecturePlayerViewController, BaseViewController)

  CmsOnlylecturePlayerViewController();
  ~CmsOnlylecturePlayerViewController() override;

  std::shared_ptr<CourseViewInfo> courseViewInfo;
  std::shared_ptr<ScoViewInfo> scoViewInfo;

  void viewDidLoad() override;
};
