#include "app/controller/cmn/NodataBgView.h"

#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"

void NodataBgView::didMoveToSuperview() {
  pf::View::didMoveToSuperview();
  auto parent = superview();
  auto image = centerImageView.lock();
  auto label = centerLabel.lock();
  if (!parent || !image || !label) return;
  const double w = parent->frame().width(), h = parent->frame().height();
  const pf::Rect imageFrame = image->frame(), labelFrame = label->frame();
  const double top = h * 0.5 - (imageFrame.height() + labelFrame.height());
  image->setFrame(pf::Rect(w * 0.5 - imageFrame.width() * 0.5, top, imageFrame.width(), imageFrame.height()));
  const double gap = pf::Screen::mainScreen().bounds().height() / 480 * 5;
  label->setFrame(pf::Rect(w * 0.5 - labelFrame.width() * 0.5, top + gap + imageFrame.height(),
                           labelFrame.width(), labelFrame.height()));
}
