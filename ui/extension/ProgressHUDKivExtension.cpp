#include "ui/extension/ProgressHUDKivExtension.h"

#include "platform/text/Font.h"
#include "platform/ui/Device.h"
#include "platform/ui/View.h"
#include "ui/hud/ProgressHUD.h"

void ProgressHUDKivExtension::applyStyleWithText(ProgressHUD& hud, const std::string& text) {
  hud.setMode(ProgressHUD::kText);
  hud.setDetailsLabelText(text);
  hud.setDetailsLabelFont(pf::Font::systemFont(fontSize()));
  hud.setMargin(kMargin);
  hud.setRemoveFromSuperViewOnHide(true);
}

void ProgressHUDKivExtension::showAndDismissWithMessage(ProgressHUD& hud, const std::string& text) {
  applyStyleWithText(hud, text);
  hud.hide(true, kDismissDelay);
}

std::shared_ptr<ProgressHUD> ProgressHUDKivExtension::showAndDismissOnView(const std::shared_ptr<pf::View>& view,
                                                                           const std::string& withText,
                                                                           std::function<void()> completionBlock) {
  auto hud = ProgressHUD::initWithView(view);
  if (view) view->addSubview(hud);
  applyStyleWithText(*hud, withText);
  hud->setCompletionBlock(std::move(completionBlock));
  hud->show(true);
  hud->hide(true, kDismissDelay);
  return hud;
}

double ProgressHUDKivExtension::fontSize() {
  return pf::Device::currentDevice().userInterfaceIdiom() == pf::Device::Idiom::Pad ? 30 : 18;
}
