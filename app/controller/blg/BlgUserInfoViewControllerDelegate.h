#pragma once
// What the module's own-profile tab asks of the module root: allow or forbid dragging the menu open.

class BlgUserInfoViewControllerDelegate {
 public:
  virtual ~BlgUserInfoViewControllerDelegate() = default;
  virtual void blgUserInfoViewEnableAppNavigator() = 0;
  virtual void blgUserInfoViewDisableAppNavigator() = 0;
};
