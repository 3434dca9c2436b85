#pragma once
// What the module's square tab asks of the module root: allow or forbid dragging the menu open.

class BlgSquareViewControllerDelegate {
 public:
  virtual ~BlgSquareViewControllerDelegate() = default;
  virtual void blgSquareViewEnableAppNavigator() = 0;
  virtual void blgSquareViewDisableAppNavigator() = 0;
};
