#pragma once
// Turns views that show a picture into tap targets: a tap opens the picture on a full-screen focus
// screen over the delegate's host controller, growing it from the thumbnail's place (3 % past the
// target, then settling); once open it can be pinched; the "返回" button (or, with
// isDefocusingWithTap, a tap anywhere) closes it back onto the thumbnail. While the enlarged
// thumbnail shows, the full-size picture is read in the background (with a time-out) and put in its
// place, also into the zoomable view when that is already installed. A view is installed once,
// however often it is installed. The manager calls back only through its delegate, held weakly.
// Main thread only; the full-size read runs on a global queue and hands its picture back to main.

#include <memory>
#include <optional>
#include <vector>

#include "app/components/photozoom/PhotoZoomController.h"
#include "app/components/photozoom/PhotoZoomDelegate.h"
#include "platform/ui/TapGestureRecognizer.h"

class PhotoZoomManager : public std::enable_shared_from_this<PhotoZoomManager> {
 public:
  static constexpr char kBackTitle[] = "返回";
  static constexpr double kDefaultMediaTimeout = 15;

  PhotoZoomManager();

  void installOnView(const std::shared_ptr<pf::View>& view);
  void installOnViews(const std::vector<std::shared_ptr<pf::View>>& views);
  void handleFocusGesture(pf::GestureRecognizer& recognizer);
  void handleDefocusGesture();

  std::shared_ptr<PhotoZoomController> focusViewControllerForView(pf::View& view);
  void installDefocusActionOnFocusViewController(PhotoZoomController& controller);
  void setupAccessoryViewOnFocusViewController(PhotoZoomController& controller);
  void installZoomView();
  void uninstallZoomView();
  static pf::Rect rectInsetsForRect(const pf::Rect& rect, double ratio);
  static std::shared_ptr<const pf::Image> decodedImageWithImage(const std::shared_ptr<const pf::Image>& image);

  std::shared_ptr<PhotoZoomDelegate> delegate() const { return delegate_.lock(); }
  void setDelegate(std::weak_ptr<PhotoZoomDelegate> delegate) { delegate_ = std::move(delegate); }

  double animationDuration = 0.5;
  pf::Color backgroundColor;
  bool elasticAnimation = true;
  bool zoomEnabled = true;
  bool gestureDisabledDuringZooming = true;
  std::shared_ptr<pf::View> mediaView;
  std::shared_ptr<PhotoZoomController> focusViewController;
  bool isZooming = false;
  bool isDefocusingWithTap = false;
  // How long the full-size read may take before the enlarged thumbnail stays.
  double mediaTimeout = kDefaultMediaTimeout;

 private:
  std::shared_ptr<PhotoZoomDelegate> declaredDelegate() const;
  void loadFullSizePicture(const std::shared_ptr<PhotoZoomController>& controller, const std::string& url);
  void finishOpening();
  void finishClosing(const std::shared_ptr<PhotoZoomController>& controller, const std::shared_ptr<pf::View>& thumbnail);
  bool isInstalledOn(const pf::View& view) const;

  std::weak_ptr<PhotoZoomDelegate> delegate_;
  std::vector<std::weak_ptr<pf::GestureRecognizer>> installed_;
};
