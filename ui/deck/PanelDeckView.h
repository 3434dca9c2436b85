#pragma once
// The deck's root view. It keeps what its owner asked for userInteractionEnabled apart from what the
// deck allows while it animates: touches are on only when both say yes, so switching them off for an
// animation never loses the owner's choice.

#include "platform/ui/View.h"

class PanelDeckView : public pf::View {
  PF_OBJECT(PanelDeckView, pf::View)

  PanelDeckView();
  explicit PanelDeckView(const pf::Rect& frame);

  void setUserInteractionEnabled(bool enabled) override;
  bool allowUserInteractionEnabled() const { return allow_; }
  void setAllowUserInteractionEnabled(bool allow);
  // Asked for by a deck presented from a navigation controller; we have no system transition view
  // whose offset it would correct, so it is only recorded.
  void setNeedsOffsetAdjustment() { needsOffsetAdjustment_ = true; }
  bool needsOffsetAdjustment() const { return needsOffsetAdjustment_; }

 private:
  bool requested_;
  bool allow_ = true;
  bool needsOffsetAdjustment_ = false;
};
