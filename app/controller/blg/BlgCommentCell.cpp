#include "app/controller/blg/BlgCommentCell.h"

#include "platform/text/StringDrawing.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

void BlgCommentCell::setFrame(const pf::Rect& frame) {
  auto content = contentLabel.lock();
  auto line = lineImgView.lock();
  if (!content || !line) {
    pf::TableViewCell::setFrame(frame);
    return;
  }
  const pf::Size needed = pf::StringDrawing::sizeOfText(content->text().value_or(""), *content->font(),
                                                        pf::Size(frame.width() - 10, 0), pf::LineBreakMode::wordWrap);
  const pf::Rect text = content->frame();
  content->setFrame(pf::Rect(text.minX(), text.minY(), needed.width, needed.height));
  const pf::Rect divider = line->frame();
  line->setFrame(pf::Rect(divider.minX(), content->frame().maxY() + 5, divider.width(), divider.height()));
  pf::TableViewCell::setFrame(pf::Rect(frame.minX(), frame.minY(), frame.width(), line->frame().maxY()));
}
