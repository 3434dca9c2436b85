#pragma once
// What a settings row asks of its screen: a row's button was pressed (its tag is the row), or the
// cellular download prompt switch changed.

class SettingViewCellDelegate {
 public:
  virtual ~SettingViewCellDelegate() = default;
  virtual void pressedTheBtnWithTag(int tag) = 0;
  virtual void wifiSwithValueChange(bool on) = 0;
};
