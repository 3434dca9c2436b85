#pragma once
// The text toast: an overlay styled as a text-only box (the text in the details label, a system font
// of 18 points, 30 on a tablet, margin 5) that hides itself 1.5 s later and leaves its view.
// Main thread only.

#include <functional>
#include <memory>
#include <string>

class ProgressHUD;

namespace pf {
class View;
}

class ProgressHUDKivExtension {
 public:
  static constexpr double kDismissDelay = 1.5;
  static constexpr float kMargin = 5;

  // The toast's look, without showing or hiding.
  static void applyStyleWithText(ProgressHUD& hud, const std::string& text);
  // Styles an overlay the caller shows (or has shown) and hides it, animated, 1.5 s later; its
  // delegate hears of it, and it leaves its view. An overlay never shown stays invisible throughout.
  static void showAndDismissWithMessage(ProgressHUD& hud, const std::string& text);
  // A toast on the view: fades in, fades out after 1.5 s, then runs the block and leaves the view.
  static std::shared_ptr<ProgressHUD> showAndDismissOnView(const std::shared_ptr<pf::View>& view,
                                                           const std::string& withText,
                                                           std::function<void()> completionBlock);
  // The toast's font size on this device's idiom.
  static double fontSize();
};
