#include "ui/deck/PanelDeckView.h"

PanelDeckView::PanelDeckView() : requested_(isUserInteractionEnabled()) {}

PanelDeckView::PanelDeckView(const pf::Rect& frame) : pf::View(frame), requested_(isUserInteractionEnabled()) {}

void PanelDeckView::setUserInteractionEnabled(bool enabled) {
  requested_ = enabled;
  pf::View::setUserInteractionEnabled(allow_ && enabled);
}

void PanelDeckView::setAllowUserInteractionEnabled(bool allow) {
  allow_ = allow;
  pf::View::setUserInteractionEnabled(allow && requested_);
}
