#pragma once
// The categories screen's container. Its stack of panels overlaps, so a touch goes to the last panel
// (the topmost) that holds the point; anything else is hit-tested as usual.

#include "platform/ui/View.h"

class UIViewExt : public pf::View {
  PF_OBJECT(UIViewExt, pf::View)

  using pf::View::View;

  std::shared_ptr<pf::View> hitTest(pf::Point point, const pf::Event* event) override;
};
