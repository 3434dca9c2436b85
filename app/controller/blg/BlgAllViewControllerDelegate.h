#pragma once
// What the module's home feed tab asks of the module root: allow or forbid dragging the menu open.

class BlgAllViewControllerDelegate {
 public:
  virtual ~BlgAllViewControllerDelegate() = default;
  virtual void blgAllViewEnableAppNavigator() = 0;
  virtual void blgAllViewDisableAppNavigator() = 0;
};
