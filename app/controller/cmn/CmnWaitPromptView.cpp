#include "app/controller/cmn/CmnWaitPromptView.h"

#include "platform/text/Font.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"

CmnWaitPromptView::CmnWaitPromptView(const pf::Rect& frame) : pf::View(frame) {
  const double widthScale = pf::Screen::mainScreen().bounds().width() / 320;
  const double h = frame.height();
  activityView = std::make_shared<pf::ActivityIndicatorView>(pf::Rect(widthScale * 40, 0, h, h));
  activityView->setHidesWhenStopped(true);
  promptLabel = std::make_shared<pf::Label>(pf::Rect(activityView->frame().maxX(), 0, frame.width() - h, h));
  promptLabel->setBackgroundColor(pf::Color::clear());
  promptLabel->setFont(pf::Font::systemFont(widthScale * 14));
  setHidden(true);
  setBackgroundColor(pf::Color::clear());
}

// Added once this view is shared (a view cannot take subviews while it is being made).
void CmnWaitPromptView::attachParts() {
  if (activityView->superview()) return;
  addSubview(activityView);
  addSubview(promptLabel);
}

void CmnWaitPromptView::layoutSubviews() {
  attachParts();
}

void CmnWaitPromptView::show() {
  if (!isHidden()) return;
  attachParts();
  setHidden(false);
  activityView->startAnimating();
}

void CmnWaitPromptView::hide() {
  if (isHidden()) return;
  activityView->stopAnimating();
  setHidden(true);
}

void CmnWaitPromptView::setPromptStr(std::optional<std::string> text) {
  promptStr_ = std::move(text);
  promptLabel->setText(promptStr_);
}
