#include "platform/ui/ModalPresentationFrame.h"

#include "platform/ui/Device.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace pf {

namespace {

bool isSheetOnTablet(int presentationStyle) {
  const auto style = static_cast<ViewController::ModalPresentationStyle>(presentationStyle);
  const bool sheet = style == ViewController::ModalPresentationStyle::FormSheet ||
                     style == ViewController::ModalPresentationStyle::PageSheet;
  return sheet && Device::currentDevice().userInterfaceIdiom() == Device::Idiom::Pad;
}

}  // namespace

Rect ModalPresentationFrame::frameFor(int presentationStyle, const Rect& presenterFrame, const Window& window) {
  const Rect bounds = window.bounds();
  if (isSheetOnTablet(presentationStyle)) {
    const double width = std::min(kFormSheetWidth, bounds.width());
    const double height = std::min(kFormSheetHeight, bounds.height());
    return Rect(bounds.midX() - width / 2, bounds.midY() - height / 2, width, height);
  }
  if (!presenterFrame.isEmpty()) return presenterFrame;
  if (auto root = window.rootViewController(); root && root->isViewLoaded()) {
    const auto rootView = root->view();
    return rootView->convertRectToView(rootView->bounds(), nullptr);
  }
  return bounds;
}

bool ModalPresentationFrame::keepsPresenterVisible(int presentationStyle) { return isSheetOnTablet(presentationStyle); }

}  // namespace pf
