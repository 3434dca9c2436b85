#include "platform/ui/Appearance.h"

#include <map>
#include <utility>
#include <vector>

#include "platform/ui/View.h"

namespace pf {

namespace {

struct RecordedSetting {
  std::string key;
  std::function<void(View&)> apply;
};

std::map<const Class*, std::vector<RecordedSetting>>& appearanceSettings() {
  static std::map<const Class*, std::vector<RecordedSetting>> settings;
  return settings;
}

}  // namespace

void Appearance::record(const Class& cls, const std::string& key, std::function<void(View&)> apply) {
  auto& list = appearanceSettings()[&cls];
  for (auto& setting : list) {
    if (setting.key == key) {
      setting.apply = std::move(apply);
      return;
    }
  }
  list.push_back({key, std::move(apply)});
}

void Appearance::applyTo(View& view) {
  auto& settings = appearanceSettings();
  if (settings.empty()) return;
  std::vector<const Class*> chain;
  for (const Class* cls = &view.objectClass(); cls; cls = cls->superclass()) chain.push_back(cls);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    auto found = settings.find(*it);
    if (found == settings.end()) continue;
    // A copy: a setter may record settings of its own.
    const auto list = found->second;
    for (const auto& setting : list) setting.apply(view);
  }
}

void Appearance::reset() { appearanceSettings().clear(); }

}  // namespace pf
