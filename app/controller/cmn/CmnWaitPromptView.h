#pragma once
// A spinner with a prompt text beside it, shown while a list loads. Starts hidden. Main thread only.

#include <memory>
#include <optional>
#include <string>

#include "platform/ui/View.h"

namespace pf {
class ActivityIndicatorView;
class Font;
class Label;
}  // namespace pf

class CmnWaitPromptView : public pf::View {
  PF_OBJECT(CmnWaitPromptView, pf::View)

  explicit CmnWaitPromptView(const pf::Rect& frame);

  // Shows the view and starts the spinner when hidden; stops and hides it when shown.
  void show();
  void hide();

  const std::optional<std::string>& promptStr() const { return promptStr_; }
  void setPromptStr(std::optional<std::string> text);

  std::shared_ptr<pf::ActivityIndicatorView> activityView;
  std::shared_ptr<pf::Label> promptLabel;
  // Kept for callers; the label keeps its own font.
  std::shared_ptr<const pf::Font> promptStrFont;

  void layoutSubviews() override;

 private:
  void attachParts();

  std::optional<std::string> promptStr_;
};
