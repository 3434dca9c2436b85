#include "app/controller/cms/CmsCommentNumCell.h"

#include "platform/graphics/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"

void CmsCommentNumCell::awakeFromNib() {
  pf::TableViewCell::awakeFromNib();
  if (auto face = leftImg.lock()) face->setImage(pf::Image::named("CMN_NAVI_avatar.png", pf::Screen::mainScreen().scale()));
  if (auto phrase = numPhrase.lock()) phrase->setText(std::string("12条回复"));
  if (auto background = bgImg.lock()) background->setImage(nullptr);
}
