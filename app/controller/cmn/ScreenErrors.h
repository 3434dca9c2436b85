#pragma once
// The error boxes and the session-expiry road that both screen bases share, word for word: a
// self-hiding box on the screen's window, and, when the server says the session expired, a box
// "登录信息失效，请重新登录!" after which the root navigation controller goes back to the login screen.
// Main thread only.

#include <functional>
#include <memory>
#include <string>

#include "platform/foundation/Error.h"

class ProgressHUDDelegate;

namespace pf {
class Label;
class ViewController;
class Window;
}  // namespace pf

class ScreenErrors {
 public:
  static constexpr char kSessionExpiredCode[] = "open.session.expired";
  static constexpr char kSessionExpiredText[] = "登录信息失效，请重新登录!";
  static constexpr char kLoginScreenClass[] = "LoginViewController";

  // A text-only box on the screen's window (the key window when the screen shows in none) that hides
  // itself after 1.5 seconds.
  // The delegate (may be none) hears when the box has gone.
  static void showErrorInfoWithMessage(pf::ViewController& screen, const std::string& message,
                                       std::weak_ptr<ProgressHUDDelegate> delegate);
  // The first error record's cause in a box; nothing for an error without records.
  static void showFirstCause(pf::ViewController& screen, const pf::ErrorPtr& error);
  // For "open.session.expired": shows the box, runs backToLogin once it hid (the block keeps the
  // screen alive until then), and answers YES at once. Any other error, or none: NO.
  static bool handleSessionError(pf::ViewController& screen, const pf::ErrorPtr& error,
                                 std::function<void()> backToLogin);
  // Pops the root navigation controller to its root; a login screen there stops signing in by itself.
  static void backToLoginViewController();
  // The bold white title of a navigation item, 90 points wide or as wide as its text.
  static std::shared_ptr<pf::Label> navigationTitleLabel(const std::string& title);

 private:
  static std::shared_ptr<pf::Window> windowOf(pf::ViewController& screen);
  // A text-only box on the window that hides itself after 1.5 seconds, then runs the block.
  static void showBoxThen(const std::shared_ptr<pf::Window>& window, const std::string& text,
                          std::function<void()> then);
};
