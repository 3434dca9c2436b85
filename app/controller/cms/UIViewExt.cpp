#include "app/controller/cms/UIViewExt.h"

namespace {

// The child at the index, null when there is none.
std::shared_ptr<pf::View> uiViewExtSubview(const std::shared_ptr<pf::View>& view, size_t index) {
  if (!view || view->subviews().size() <= index) return nullptr;
  return view->subviews()[index];
}

}  // namespace

std::shared_ptr<pf::View> UIViewExt::hitTest(pf::Point point, const pf::Event* event) {
  auto rightView = subviews().size() > 1 ? subviews()[1] : nullptr;
  auto panels = uiViewExtSubview(uiViewExtSubview(rightView, 0), 1);
  if (panels) {
    std::shared_ptr<pf::View> chosen;
    pf::Point chosenPoint;
    for (const auto& panel : panels->subviews()) {
      const pf::Point inPanel = panel->convertPointFromView(point, this);
      if (panel->pointInside(inPanel, event)) {
        chosen = panel;
        chosenPoint = inPanel;
      }
    }
    if (chosen) return chosen->hitTest(chosenPoint, event);
  }
  return pf::View::hitTest(point, event);
}
