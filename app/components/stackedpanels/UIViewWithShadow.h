#pragma once
// The soft shade to the left of a stacked panel: a 40-point strip that draws only the shadow of a box
// lying just outside its right side, so the shade grows towards the panel's edge.

#include "platform/ui/View.h"

class UIViewWithShadow : public pf::View {
  PF_OBJECT(UIViewWithShadow, pf::View)

  UIViewWithShadow();
  explicit UIViewWithShadow(const pf::Rect& frame);

  void layoutSubviews() override;
  void drawRect(const pf::Rect& rect) override;

 private:
  pf::Rect _coloredBoxRect;
};
