#pragma once
// A spinner of twelve spokes whose brightest spoke turns while animating, on the run-loop clock.
// Styles: 0 large white (37 points), 1 white and 2 grey (20 points). Hidden while stopped unless
// told otherwise. Main thread only.

#include <memory>
#include <optional>

#include "platform/ui/View.h"

namespace pf {

class Timer;

class ActivityIndicatorView : public View {
  PF_OBJECT(ActivityIndicatorView, View)

  enum class Style { WhiteLarge = 0, White = 1, Gray = 2 };

  ActivityIndicatorView();
  explicit ActivityIndicatorView(Style style);
  explicit ActivityIndicatorView(const Rect& frame);
  ~ActivityIndicatorView() override;

  Style activityIndicatorViewStyle() const { return style_; }
  void setActivityIndicatorViewStyle(Style style);
  std::optional<Color> color() const { return color_; }
  void setColor(std::optional<Color> color);
  bool hidesWhenStopped() const { return hidesWhenStopped_; }
  void setHidesWhenStopped(bool hides);
  void startAnimating();
  void stopAnimating();
  bool isAnimating() const { return timer_ != nullptr; }
  // The brightest spoke, 0 to 11; it moves on while animating.
  int phase() const { return phase_; }

  Size sizeThatFits(Size size) const override;
  void drawRect(const Rect& rect) override;

 private:
  std::optional<Color> color_;
  std::shared_ptr<Timer> timer_;
  Style style_ = Style::WhiteLarge;
  int phase_ = 0;
  bool hidesWhenStopped_ = true;
};

}  // namespace pf
