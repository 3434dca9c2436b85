#pragma once
// The overlay's progress indicator: a pie filling clockwise from the top, or a ring when annular.
// Every change redraws. Main thread only.

#include "platform/ui/View.h"

class RoundProgressView : public pf::View {
  PF_OBJECT(RoundProgressView, pf::View)

  static constexpr double kSide = 37;

  // 37 by 37 points.
  RoundProgressView();
  explicit RoundProgressView(const pf::Rect& frame);

  float progress() const { return progress_; }
  void setProgress(float progress);
  bool isAnnular() const { return annular_; }
  void setAnnular(bool annular);
  const pf::Color& progressTintColor() const { return progressTint_; }
  void setProgressTintColor(const pf::Color& color);
  const pf::Color& backgroundTintColor() const { return backgroundTint_; }
  void setBackgroundTintColor(const pf::Color& color);

  void drawRect(const pf::Rect& rect) override;

 private:
  void drawPie(pf::GraphicsContext& context) const;
  void drawRing(pf::GraphicsContext& context) const;

  pf::Color progressTint_ = pf::Color::fromWhite(1, 1);
  pf::Color backgroundTint_ = pf::Color::fromWhite(1, 0.1);
  float progress_ = 0;
  bool annular_ = false;
};
