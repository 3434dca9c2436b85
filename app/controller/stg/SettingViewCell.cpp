#include "app/controller/stg/SettingViewCell.h"

#include "platform/ui/Button.h"
#include "platform/ui/Switch.h"

SettingViewCell::SettingViewCell() = default;
SettingViewCell::~SettingViewCell() = default;

void SettingViewCell::btnPressed() {
  auto listener = delegate.lock();
  auto button = btn.lock();
  if (listener && button) listener->pressedTheBtnWithTag(static_cast<int>(button->tag()));
}

void SettingViewCell::switchValueChange() {
  auto listener = delegate.lock();
  auto control = wifiSwitch.lock();
  if (listener && control) listener->wifiSwithValueChange(control->isOn());
}
