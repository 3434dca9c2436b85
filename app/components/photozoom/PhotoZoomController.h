#pragma once
// The full-screen focus screen the tap-to-zoom viewer lays over its host: the moving picture
// (mainImageView), the caption, the Back button (accessoryView) and, once opened, the zoomable
// picture view, all in contentView, which turns with the device as far as the host does not turn
// itself. The screen stays in portrait; orientation changes are observed only while it is shown.
// Loaded from the interface file named after the class. Main thread only.

#include <memory>

#include "app/components/photozoom/ZoomingImageScrollView.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ViewController.h"

class PhotoZoomController : public pf::ViewController {
  PF_OBJECT(PhotoZoomController, pf::ViewController)

  PhotoZoomController();

  static void registerForInterfaceFiles();

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;
  void viewWillDisappear(bool animated) override;
  void viewDidUnload() override;
  unsigned supportedInterfaceOrientations() const override;

  bool isParentSupportingInterfaceOrientation(int orientation) const;
  void updateOrientationAnimated(bool animated);
  void installZoomView();
  void uninstallZoomView();
  void pinAccessoryView(const std::shared_ptr<pf::View>& view);
  void pinAccessoryViews();
  bool isObservingOrientation() const { return observingOrientation_; }

  std::shared_ptr<ZoomingImageScrollView> scrollView;
  std::shared_ptr<pf::ImageView> mainImageView;
  std::shared_ptr<pf::View> contentView;
  std::shared_ptr<pf::Label> titleLabel;
  std::shared_ptr<pf::View> accessoryView;
  int previousOrientation = 0;

 private:
  pf::NotificationCenter::Observation orientationObservation_;
  bool observingOrientation_ = false;
};
