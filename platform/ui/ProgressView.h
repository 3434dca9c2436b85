#pragma once
// A thin bar filled in the tint to the progress, from 0 to 1. Main thread only.

#include <optional>

#include "platform/ui/View.h"

namespace pf {

class ProgressView : public View {
  PF_OBJECT(ProgressView, View)

  enum class Style { Default = 0, Bar = 1 };

  ProgressView();
  explicit ProgressView(Style style);
  explicit ProgressView(const Rect& frame);

  Style progressViewStyle() const { return style_; }
  void setProgressViewStyle(Style style);
  float progress() const { return progress_; }
  // Clamped to 0...1; a value that is not a number counts as 0.
  void setProgress(float progress, bool animated = false);
  std::optional<Color> progressTintColor() const { return progressTint_; }
  void setProgressTintColor(std::optional<Color> color);
  std::optional<Color> trackTintColor() const { return trackTint_; }
  void setTrackTintColor(std::optional<Color> color);

  Size sizeThatFits(Size size) const override;
  void drawRect(const Rect& rect) override;

 private:
  std::optional<Color> progressTint_;
  std::optional<Color> trackTint_;
  Style style_ = Style::Default;
  float progress_ = 0;
};

}  // namespace pf
