#pragma once
// The one road to studying a unit: openers make it with a course and one of its units and push it on
// the window's root navigation controller. It picks the unit's player once, when its view loads: the
// video player when the unit has a video address, the lecture player otherwise, and shows it as its
// only child, so a pop of the child takes the container off the stack.
//
// Main thread only.

#include <memory>

#include "app/controller/cmn/BaseViewController.h"

class CourseViewInfo;
class ScoViewInfo;

class CmsMainMediaPlayerViewController : public BaseViewController {
  PF_OBJECT(CmsMainMediaPlayerViewController, BaseViewController)

  CmsMainMediaPlayerViewController();
  ~CmsMainMediaPlayerViewController() override;

  // Set by the opener before the view loads; the players update both in place.
  std::shared_ptr<CourseViewInfo> courseViewInfo;
  std::shared_ptr<ScoViewInfo> scoViewInfo;

  void viewDidLoad() override;
  bool prefersStatusBarHidden() const { return true; }
  // The player chosen when the view loaded.
  std::shared_ptr<pf::ViewController> player() const { return player_; }

 private:
  std::shared_ptr<pf::ViewController> player_;
};
