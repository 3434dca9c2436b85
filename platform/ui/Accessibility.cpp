#include "platform/ui/Accessibility.h"

#include <algorithm>
#include <memory>

#include "platform/runtime/AssociatedObjects.h"
#include "platform/ui/View.h"

namespace pf {

namespace {

const char kAccessibilityKey = 0;

struct AccessibilityValues {
  std::optional<std::string> label;
  std::optional<std::string> hint;
  std::optional<Rect> frame;
  bool modal = false;
};

AccessibilityValues readAccessibility(const View& view) {
  auto values = AssociatedObjects::get<AccessibilityValues>(view, &kAccessibilityKey);
  return values ? *values : AccessibilityValues{};
}

AccessibilityValues& writeAccessibility(const View& view) {
  auto values = AssociatedObjects::get<AccessibilityValues>(view, &kAccessibilityKey);
  if (!values) {
    values = std::make_shared<AccessibilityValues>();
    AssociatedObjects::set(view, &kAccessibilityKey, values);
  }
  // The view keeps the values alive as long as it lives.
  return *values;
}

std::vector<Accessibility::Posted>& postedAccessibility() {
  static std::vector<Accessibility::Posted> posted;
  return posted;
}

}  // namespace

std::optional<std::string> Accessibility::label(const View& view) {
  return readAccessibility(view).label;
}

void Accessibility::setLabel(const View& view, std::optional<std::string> label) {
  writeAccessibility(view).label = std::move(label);
}

std::optional<std::string> Accessibility::hint(const View& view) {
  return readAccessibility(view).hint;
}

void Accessibility::setHint(const View& view, std::optional<std::string> hint) {
  writeAccessibility(view).hint = std::move(hint);
}

std::optional<Rect> Accessibility::frame(const View& view) {
  return readAccessibility(view).frame;
}

void Accessibility::setFrame(const View& view, std::optional<Rect> frame) {
  writeAccessibility(view).frame = frame;
}

bool Accessibility::viewIsModal(const View& view) {
  return readAccessibility(view).modal;
}

void Accessibility::setViewIsModal(const View& view, bool modal) {
  writeAccessibility(view).modal = modal;
}

void Accessibility::post(Notification kind, std::optional<std::string> argument) {
  postedAccessibility().push_back(Posted{kind, std::move(argument)});
}

const std::vector<Accessibility::Posted>& Accessibility::posted() {
  return postedAccessibility();
}

size_t Accessibility::count(Notification kind) {
  const auto& all = postedAccessibility();
  return static_cast<size_t>(std::count_if(all.begin(), all.end(), [kind](const Posted& p) { return p.kind == kind; }));
}

void Accessibility::reset() {
  postedAccessibility().clear();
}

}  // namespace pf
