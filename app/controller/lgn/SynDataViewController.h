#pragma once
// The short-lived screen after a successful sign-in: a spinner while it builds the signed-in root, a
// side-panel deck with the user's first module in the centre and the module menu on the left, and
// pushes it on the root navigation controller. It stays beneath that root; each time it appears it
// builds a new one.
//
// A user without a module this client can show still gets a root: a plain screen in the centre with
// the menu open, so the user can reach the square, settings or logout.
//
// Main thread only.

#include <memory>

#include "app/controller/cmn/BaseViewController.h"

namespace pf {
class ActivityIndicatorView;
class Label;
}  // namespace pf
class CourseService;
class PanelDeckController;
class UserMobileAppService;

class SynDataViewController : public BaseViewController {
  PF_OBJECT(SynDataViewController, BaseViewController)

  static constexpr char kMenuScreenClass[] = "AppNavigatorViewController";
  // The width of the centre left showing beside the open menu, on a 320-point-wide screen.
  static constexpr double kLeftLedge = 50;

  SynDataViewController();
  explicit SynDataViewController(std::string nibName);
  ~SynDataViewController() override;

  std::weak_ptr<pf::ActivityIndicatorView> activityView;
  std::weak_ptr<pf::Label> loadingLabel;

  void initService() override;
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;
  void viewDidDisappear(bool animated) override;

  // Builds the signed-in root and pushes it; answers it (null when it could not be pushed).
  std::shared_ptr<PanelDeckController> synData();

 private:
  std::shared_ptr<CourseService> courseService_;
  std::shared_ptr<UserMobileAppService> mobileAppService_;
};
