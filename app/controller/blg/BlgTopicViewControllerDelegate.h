#pragma once
// What the module's topics tab asks of the module root: allow or forbid dragging the menu open.

class BlgTopicViewControllerDelegate {
 public:
  virtual ~BlgTopicViewControllerDelegate() = default;
  virtual void blgTopicViewEnableAppNavigator() = 0;
  virtual void blgTopicViewDisableAppNavigator() = 0;
};
