#include "app/controller/cms/CmsCourseUnSelectedPromptView.h"

#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Touch.h"

void CmsCourseUnSelectedPromptView::awakeFromNib() {
  pf::View::awakeFromNib();
  alertView = std::make_shared<pf::AlertView>(
      std::nullopt, std::string(kAlertMessage),
      std::dynamic_pointer_cast<pf::AlertViewDelegate>(shared_from_this()), std::string(kAlertSelect),
      std::vector<std::string>{kAlertCancel});
  setHideAlert(true);
}

void CmsCourseUnSelectedPromptView::setHideAlert(bool hide) {
  hideAlert_ = hide;
  if (!hide && alertView) {
    alertView->setDelegate(std::dynamic_pointer_cast<pf::AlertViewDelegate>(shared_from_this()));
    alertView->show();
  }
  if (auto label = promptLabel.lock()) label->setHidden(!hide);
  if (auto action = promptActionBtn.lock()) action->setHidden(!hide);
  if (auto picture = promptImgView.lock()) picture->setHidden(!hide);
}

pf::Rect CmsCourseUnSelectedPromptView::actionRect() const {
  auto source = srcRectView.lock();
  auto action = promptActionBtn.lock();
  if (!source || !action) return pf::Rect::null();
  const pf::Rect place = source->convertRectToView(source->bounds(), this);
  return {place.minX() - 5, place.minY() - pf::Screen::mainScreen().bounds().height() / 480, action->frame().width(),
          action->frame().height()};
}

void CmsCourseUnSelectedPromptView::layoutSubviews() {
  pf::View::layoutSubviews();
  auto action = promptActionBtn.lock();
  const pf::Rect place = actionRect();
  if (action && !place.isNull()) action->setFrame(place);
}

void CmsCourseUnSelectedPromptView::confirm() {
  if (auto listener = delegate.lock()) listener->comfirmPrompt();
}

// Any touch closes the prompt; one on the select button's place also selects.
void CmsCourseUnSelectedPromptView::touchesBegan(const pf::TouchSet& touches, const pf::Event* event) {
  pf::View::touchesBegan(touches, event);
  auto keep = shared_from_this();
  const pf::Rect place = actionRect();
  if (!touches.empty() && !place.isNull() && place.contains(touches.front()->locationInView(this))) confirm();
  removeFromSuperview();
}

void CmsCourseUnSelectedPromptView::clickedButtonAtIndex(pf::AlertView&, long buttonIndex) {
  if (buttonIndex != 0) return;
  auto keep = shared_from_this();
  if (superview()) removeFromSuperview();
  confirm();
}
