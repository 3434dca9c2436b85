#include "app/controller/blg/BlgMainCell.h"

#include <algorithm>
#include <limits>

#include "app/components/richlabel/RichLabel.h"
#include "app/model/blg/Blog.h"
#include "platform/text/StringDrawing.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "ui/base/BaseUIImageView.h"

namespace {

pf::Rect blgCellMoved(const pf::Rect& frame, double x, double y) {
  return pf::Rect(x, y, frame.width(), frame.height());
}

// A label's text measured on one line of its font, no wider than the width.
pf::Size blgCellCountSize(const pf::Label& label, double width) {
  const auto& font = *label.font();
  return pf::StringDrawing::sizeOfText(label.text().value_or(""), font, pf::Size(width, font.lineHeight()),
                                       pf::LineBreakMode::wordWrap);
}

bool blgCellHasText(const RichLabel& label) { return !label.text().empty(); }

}  // namespace

bool BlgMainCell::hasOutlets() const {
  return !avatarImageView.expired() && !nickNameLabel.expired() && !timeLabel.expired() &&
         !contentLabel.expired() && !topicLabel.expired() && !contentImageView.expired() &&
         !originImageView.expired() && !originContentLabel.expired() && !originTopicLabel.expired() &&
         !fromLabelTitle.expired() && !fromLabel.expired() && !broadcastIMG.expired() &&
         !broadcastLabel.expired() && !commentsIMG.expired() && !commentsLabel.expired() &&
         !orginBGTop.expired() && !orginBGCenter.expired() && !orginBGBottom.expired();
}

void BlgMainCell::setFrame(const pf::Rect& frame) {
  if (!hasOutlets()) {
    pf::TableViewCell::setFrame(frame);
    return;
  }
  const pf::Rect screen = pf::Screen::mainScreen().bounds();
  const double sx = screen.width() / 320;
  const double sy = screen.height() / 480;
  auto content = contentLabel.lock();
  auto topic = topicLabel.lock();
  auto nick = nickNameLabel.lock();

  double bottom = avatarImageView.lock()->frame().maxY();
  // The text block spans from the nick name to the right edge of the time; measured at that width.
  const double textWidth = timeLabel.lock()->frame().maxX() - nick->frame().minX();
  content->setFrame(pf::Rect(nick->frame().minX(), nick->frame().maxY() + 2 * sy, textWidth, content->frame().height()));
  const double contentHeight = content->optimumSize().height + 4 * sy;
  content->setFrame(pf::Rect(content->frame().minX(), content->frame().minY(), textWidth, contentHeight));
  bottom = std::max(bottom, content->frame().maxY());
  double last = content->frame().maxY();

  if (blgCellHasText(*topic)) {
    topic->setHidden(false);
    topic->setFrame(pf::Rect(topic->frame().minX(), last + 4 * sy, topic->frame().width(), topic->frame().height()));
    topic->setFrame(pf::Rect(topic->frame().minX(), topic->frame().minY(), topic->frame().width(),
                             topic->optimumSize().height));
    bottom = std::max(bottom, topic->frame().maxY());
    last = topic->frame().maxY();
  } else {
    topic->setHidden(true);
  }

  auto picture = contentImageView.lock();
  const std::string type = blogType.value_or("");
  const bool origin = type == Blog::kTypeOrigin;
  const bool broadcast = type == Blog::kTypeBroadcast;
  for (const auto& view : {std::static_pointer_cast<pf::View>(orginBGTop.lock()),
                           std::static_pointer_cast<pf::View>(orginBGCenter.lock()),
                           std::static_pointer_cast<pf::View>(orginBGBottom.lock()),
                           std::static_pointer_cast<pf::View>(originContentLabel.lock()),
                           std::static_pointer_cast<pf::View>(originTopicLabel.lock()),
                           std::static_pointer_cast<pf::View>(originImageView.lock())})
    view->setHidden(!broadcast);
  picture->setHidden(true);
  if (origin && picture->currentImageUrl()) {
    picture->setHidden(false);
    picture->setFrame(pf::Rect(content->frame().minX(), last + 2 * sy, picture->frame().width(), 60));
    bottom = std::max(bottom, picture->frame().maxY());
  } else if (broadcast) {
    bottom = std::max(bottom, layoutOrigin(last, sx, sy));
  }
  layoutCounts(bottom, sx, sy);
  pf::TableViewCell::setFrame(
      pf::Rect(frame.minX(), frame.minY(), frame.width(), broadcastIMG.lock()->frame().maxY() + 5 * sy));
}

double BlgMainCell::layoutOrigin(double last, double, double sy) {
  auto top = orginBGTop.lock();
  auto center = orginBGCenter.lock();
  auto bottomPiece = orginBGBottom.lock();
  auto text = originContentLabel.lock();
  auto topics = originTopicLabel.lock();
  auto picture = originImageView.lock();
  top->setFrame(blgCellMoved(top->frame(), contentLabel.lock()->frame().minX(), last + 2 * sy));
  text->setFrame(blgCellMoved(text->frame(), text->frame().minX(), top->frame().maxY() + 2 * sy));
  text->setFrame(pf::Rect(text->frame().minX(), text->frame().minY(), text->frame().width(), text->optimumSize().height));
  double inner = text->frame().maxY();
  topics->setHidden(true);
  if (blgCellHasText(*topics)) {
    topics->setHidden(false);
    topics->setFrame(blgCellMoved(topics->frame(), topics->frame().minX(), text->frame().maxY() + 4 * sy));
    topics->setFrame(pf::Rect(topics->frame().minX(), topics->frame().minY(), topics->frame().width(),
                              topics->optimumSize().height));
    inner = std::max(inner, topics->frame().maxY());
  }
  picture->setHidden(true);
  if (picture->currentImageUrl()) {
    picture->setHidden(false);
    picture->setFrame(pf::Rect(text->frame().minX(), inner + 2 * sy, picture->frame().width(), 60));
    inner = picture->frame().maxY();
  }
  center->setFrame(pf::Rect(top->frame().minX(), top->frame().maxY() - 2 * sy, top->frame().width(),
                            inner - top->frame().maxY() + 2 * sy));
  bottomPiece->setFrame(blgCellMoved(bottomPiece->frame(), top->frame().minX(), center->frame().maxY() - 2 * sy));
  return bottomPiece->frame().maxY();
}

void BlgMainCell::layoutCounts(double bottom, double sx, double sy) {
  auto from = fromLabel.lock();
  auto fromTitle = fromLabelTitle.lock();
  const double y = bottom + 4 * sy;
  from->setFrame(blgCellMoved(from->frame(), from->frame().minX(), y));
  fromTitle->setFrame(blgCellMoved(fromTitle->frame(), fromTitle->frame().minX(), y));

  auto content = contentLabel.lock();
  auto comments = commentsLabel.lock();
  const pf::Size commentsSize = blgCellCountSize(*comments, frame().width());
  comments->setFrame(pf::Rect(content->frame().maxX() - 2 * sx - commentsSize.width, y, commentsSize.width,
                              commentsSize.height));
  auto commentsIcon = commentsIMG.lock();
  const double side = comments->font()->lineHeight();
  commentsIcon->setFrame(pf::Rect(comments->frame().minX() - 2 * sx - side, y, side, side));

  auto broadcasts = broadcastLabel.lock();
  const pf::Size broadcastSize = blgCellCountSize(*broadcasts, content->frame().width());
  broadcasts->setFrame(pf::Rect(commentsIcon->frame().minX() - 5 * sx - broadcastSize.width, y, broadcastSize.width,
                                broadcastSize.height));
  auto broadcastIcon = broadcastIMG.lock();
  const double side2 = broadcasts->font()->lineHeight();
  broadcastIcon->setFrame(pf::Rect(broadcasts->frame().minX() - 2 * sx - side2, y, side2, side2));
}
