#include "app/controller/qsm/QsmReplyView.h"

#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "ui/extension/LabelKivExtension.h"

namespace {

void qsmReplyMoveTo(pf::View& view, double y) {
  pf::Rect frame = view.frame();
  frame.origin.y = y;
  view.setFrame(frame);
}

}  // namespace

void QsmReplyView::initSubViewFrames() {
  auto title = titleLabel.lock();
  auto content = contentLabel.lock();
  auto info = replyInfoLabel.lock();
  auto top = bgTopImageView.lock();
  auto middle = bgMidImageView.lock();
  auto bottom = bgBtmImageView.lock();
  if (!title || !content || !info || !top || !middle || !bottom) return;
  LabelKivExtension::resetFrameToFit(*title);
  qsmReplyMoveTo(*top, title->frame().maxY() + 5);
  qsmReplyMoveTo(*content, top->frame().maxY());
  LabelKivExtension::resetFrameToFit(*content);
  pf::Rect mid = middle->frame();
  mid.origin.y = content->frame().origin.y;
  mid.size.height = content->frame().height() + info->frame().height() + 5;
  middle->setFrame(mid);
  qsmReplyMoveTo(*info, content->frame().maxY() + 10);
  qsmReplyMoveTo(*bottom, middle->frame().maxY());
}
