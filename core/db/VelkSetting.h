#pragma once
// One row of the settings table: a small persistent value under a text key. Values are always text;
// callers format numbers and flags themselves. Mapped like any other class (table settings, key column
// key, value column value).

#include <memory>
#include <optional>
#include <string>

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Object.h"

class VelkSetting : public pf::Object {
  PF_OBJECT(VelkSetting, pf::Object)

  std::optional<std::string> key;
  std::optional<std::string> value;

  static std::shared_ptr<VelkSetting> settingWithKey(const std::optional<std::string>& key,
                                                     const std::optional<std::string>& value);

  static void declareProperties(pf::ClassBuilder<VelkSetting>& b);
};
