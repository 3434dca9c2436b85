#include "app/controller/cms/CmsRecommandView.h"

#include <limits>

#include "platform/graphics/Image.h"
#include "platform/text/StringDrawing.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"

void CmsRecommandView::buttonPressed() {
  auto button = btn.lock();
  if (auto listener = delegate.lock(); listener && button) listener->pressedBtnWithTag(button->tag());
}

void CmsRecommandView::setFrame(const pf::Rect& frame) {
  pf::View::setFrame(frame);
  const double scale = pf::Screen::mainScreen().bounds().height() / 480;
  const double screenScale = pf::Screen::mainScreen().scale();
  auto button = btn.lock();
  if (button) {
    button->setBackgroundImage(pf::Image::named("LGN_MAIN_login_btn_n.png", screenScale), pf::Control::kNormal);
    button->setBackgroundImage(pf::Image::named("LGN_MAIN_login_btn_p.png", screenScale), pf::Control::kHighlighted);
  }
  if (auto title = titleLabel.lock()) title->setBackgroundColor(pf::Color::clear());
  auto content = contentLabel.lock();
  if (!content) return;
  content->setBackgroundColor(pf::Color::clear());
  pf::Rect place = content->frame();
  if (content->font())
    place.size.height = pf::StringDrawing::sizeOfText(content->text().value_or(""), *content->font(),
                                                      {place.width(), std::numeric_limits<double>::infinity()},
                                                      pf::LineBreakMode::wordWrap)
                            .height;
  content->setFrame(place);
  if (!button) return;
  pf::Rect below = button->frame();
  below.origin.y = place.maxY() + 12 * scale;
  button->setFrame(below);
}
