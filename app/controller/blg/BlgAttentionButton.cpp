#include "app/controller/blg/BlgAttentionButton.h"

#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "platform/ui/Screen.h"

void BlgAttentionButton::show(pf::Button& button, bool following) {
  const double scale = pf::Screen::mainScreen().scale();
  const char* normal = following ? "BLG_UINF_cancel_attention_btn_n.png" : "BLG_UINF_attention_n.png";
  const char* pressed = following ? "BLG_UINF_cancel_attention_btn_p.png" : "BLG_UINF_attention_btn_p.png";
  button.setBackgroundImage(pf::Image::named(normal, scale), pf::Control::kNormal);
  button.setBackgroundImage(pf::Image::named(pressed, scale), pf::Control::kHighlighted);
  button.setTitle(following ? "取消关注" : "加关注", pf::Control::kNormal);
}
