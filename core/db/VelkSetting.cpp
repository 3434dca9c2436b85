#include "core/db/VelkSetting.h"

std::shared_ptr<VelkSetting> VelkSetting::settingWithKey(const std::optional<std::string>& key,
                                                         const std::optional<std::string>& value) {
  auto setting = std::make_shared<VelkSetting>();
  setting->key = key;
  setting->value = value;
  return setting;
}

void VelkSetting::declareProperties(pf::ClassBuilder<VelkSetting>& b) {
  PF_PROPERTY(b, key);
  PF_PROPERTY(b, value);
}
