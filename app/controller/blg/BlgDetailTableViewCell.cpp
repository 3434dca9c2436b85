#include "app/controller/blg/BlgDetailTableViewCell.h"

#include <algorithm>

#include "app/components/richlabel/RichLabel.h"
#include "app/controller/blg/BlgDetailTableViewDelegate.h"
#include "app/model/blg/Blog.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "ui/base/BaseUIImageView.h"

namespace {

std::shared_ptr<pf::Image> blgDetailCellImage(const char* name) {
  return pf::Image::named(name, pf::Screen::mainScreen().scale());
}

void blgDetailCellMoveTo(pf::View& view, double x, double y) {
  const pf::Rect frame = view.frame();
  view.setFrame(pf::Rect(x, y, frame.width(), frame.height()));
}

void blgDetailCellMoveToY(pf::View& view, double y) { blgDetailCellMoveTo(view, view.frame().minX(), y); }

void blgDetailCellSetHeight(pf::View& view, double height) {
  const pf::Rect frame = view.frame();
  view.setFrame(pf::Rect(frame.minX(), frame.minY(), frame.width(), height));
}

// A rich label below y at its optimum height.
void blgDetailCellPlaceText(RichLabel& label, double y) {
  blgDetailCellMoveToY(label, y);
  blgDetailCellSetHeight(label, label.optimumSize().height);
}

}  // namespace

void BlgDetailTableViewCell::broadcastOriginalBlog() {
  if (auto delegate = detailDelegate.lock()) delegate->broadcastOriginalBlogBtnPressed();
}

void BlgDetailTableViewCell::commentsOriginalBlog() {
  if (auto delegate = detailDelegate.lock()) delegate->commentsOriginalBlogBtnPressed();
}

void BlgDetailTableViewCell::broadcastCurrentBlog() {
  if (auto delegate = detailDelegate.lock()) delegate->broadcastCurrentBlogBtnPressed();
}

void BlgDetailTableViewCell::commentsCurrentBlog() {
  if (auto delegate = detailDelegate.lock()) delegate->commentsCurrentBlogBtnPressed();
}

void BlgDetailTableViewCell::initBtn() {
  if (auto button = broadcastBtn.lock())
    button->setBackgroundImage(blgDetailCellImage("BLG_DETL_actionbar_left_p.png"), pf::Control::kHighlighted);
  if (auto button = commentsBtn.lock())
    button->setBackgroundImage(blgDetailCellImage("BLG_DETL_actionbar_right_p.png"), pf::Control::kHighlighted);
  for (const auto& weak : {originBroadcastBtn, originCommentsBtn}) {
    if (auto button = weak.lock()) {
      button->setBackgroundImage(blgDetailCellImage("BLG_DETL_contment_btn.png"), pf::Control::kNormal);
      button->setBackgroundImage(blgDetailCellImage("BLG_DETL_contment_btn_p.png"), pf::Control::kHighlighted);
    }
  }
}

bool BlgDetailTableViewCell::hasOutlets() const {
  return !contentLabel.expired() && !contentTopic.expired() && !currentImgView.expired() &&
         !broadcastLabel.expired() && !commentsLabel.expired() && !broadcastBtn.expired() &&
         !commentsBtn.expired() && !btnBackgroundImgView.expired() && !lineImgView.expired() &&
         !originalBlgContent.expired() && !originalBlgTopic.expired() && !originalImgView.expired() &&
         !originalBroadcastNum.expired() && !originalCommentsNum.expired() && !originBroadcastBtn.expired() &&
         !originCommentsBtn.expired() && !orginBGTop.expired() && !orginBGCenter.expired() &&
         !orginBGBottom.expired() && !fromTitle.expired() && !fromLabel.expired() && !timeLabel.expired();
}

void BlgDetailTableViewCell::setFrame(const pf::Rect& frame) {
  if (!hasOutlets()) {
    pf::TableViewCell::setFrame(frame);
    return;
  }
  const double gap = pf::Screen::mainScreen().bounds().height() / 480 * 5;
  initBtn();
  auto content = contentLabel.lock();
  blgDetailCellSetHeight(*content, content->optimumSize().height);
  double bottom = content->frame().maxY();

  const std::string type = blogType.value_or("");
  if (type == Blog::kTypeOrigin) {
    bottom = layoutOriginal(bottom, gap);
  } else {
    currentImgView.lock()->setHidden(true);
    contentTopic.lock()->setHidden(true);
    bottom = layoutReposted(bottom, gap);
  }

  auto bar = btnBackgroundImgView.lock();
  blgDetailCellMoveToY(*bar, bottom + gap);
  for (const auto& view : {std::static_pointer_cast<pf::View>(lineImgView.lock()),
                           std::static_pointer_cast<pf::View>(broadcastBtn.lock()),
                           std::static_pointer_cast<pf::View>(commentsBtn.lock()),
                           std::static_pointer_cast<pf::View>(broadcastLabel.lock()),
                           std::static_pointer_cast<pf::View>(commentsLabel.lock())})
    blgDetailCellMoveToY(*view, bar->frame().minY());
  auto from = fromLabel.lock();
  blgDetailCellMoveToY(*from, bar->frame().maxY() + gap);
  blgDetailCellMoveToY(*fromTitle.lock(), from->frame().minY());
  blgDetailCellMoveToY(*timeLabel.lock(), from->frame().minY());
  pf::TableViewCell::setFrame(
      pf::Rect(frame.minX(), frame.minY(), frame.width(), fromTitle.lock()->frame().maxY() + gap));
}

double BlgDetailTableViewCell::layoutOriginal(double bottom, double gap) {
  for (const auto& view : {std::static_pointer_cast<pf::View>(orginBGTop.lock()),
                           std::static_pointer_cast<pf::View>(orginBGCenter.lock()),
                           std::static_pointer_cast<pf::View>(orginBGBottom.lock()),
                           std::static_pointer_cast<pf::View>(originalBlgContent.lock()),
                           std::static_pointer_cast<pf::View>(originalImgView.lock()),
                           std::static_pointer_cast<pf::View>(originBroadcastBtn.lock()),
                           std::static_pointer_cast<pf::View>(originCommentsBtn.lock()),
                           std::static_pointer_cast<pf::View>(originalBroadcastNum.lock()),
                           std::static_pointer_cast<pf::View>(originalCommentsNum.lock()),
                           std::static_pointer_cast<pf::View>(originalBlgTopic.lock())})
    view->setHidden(true);
  auto content = contentLabel.lock();
  auto topic = contentTopic.lock();
  topic->setHidden(topic->text().empty());
  if (!topic->isHidden()) {
    blgDetailCellPlaceText(*topic, content->frame().maxY() + 2 * gap);
    bottom = topic->frame().maxY();
  }
  auto picture = currentImgView.lock();
  picture->setHidden(!picture->currentImageUrl());
  if (!picture->isHidden()) {
    picture->setFrame(pf::Rect(content->frame().minX(), bottom + gap, picture->frame().width(), kPictureHeight));
    bottom = picture->frame().maxY();
  }
  return bottom;
}

// A repost's own picture stays hidden; the reposted blog shows in its three-piece frame.
double BlgDetailTableViewCell::layoutReposted(double bottom, double gap) {
  const bool broadcast = blogType == std::string(Blog::kTypeBroadcast);
  for (const auto& view : {std::static_pointer_cast<pf::View>(orginBGTop.lock()),
                           std::static_pointer_cast<pf::View>(orginBGCenter.lock()),
                           std::static_pointer_cast<pf::View>(orginBGBottom.lock()),
                           std::static_pointer_cast<pf::View>(originalBlgContent.lock()),
                           std::static_pointer_cast<pf::View>(originBroadcastBtn.lock()),
                           std::static_pointer_cast<pf::View>(originCommentsBtn.lock()),
                           std::static_pointer_cast<pf::View>(originalBroadcastNum.lock()),
                           std::static_pointer_cast<pf::View>(originalCommentsNum.lock())})
    view->setHidden(!broadcast);
  originalImgView.lock()->setHidden(true);
  originalBlgTopic.lock()->setHidden(true);
  if (!broadcast) return bottom;

  auto top = orginBGTop.lock();
  blgDetailCellMoveTo(*top, contentLabel.lock()->frame().minX(), bottom + gap);
  auto text = originalBlgContent.lock();
  blgDetailCellPlaceText(*text, top->frame().maxY() + gap);
  double inner = text->frame().maxY();
  auto topic = originalBlgTopic.lock();
  if (!topic->text().empty()) {
    topic->setHidden(false);
    blgDetailCellPlaceText(*topic, text->frame().maxY() + 2 * gap);
    inner = topic->frame().maxY();
  }
  auto picture = originalImgView.lock();
  if (picture->currentImageUrl()) {
    picture->setHidden(false);
    picture->setFrame(pf::Rect(text->frame().minX(), inner + gap, picture->frame().width(), kPictureHeight));
    inner = picture->frame().maxY();
  }
  for (const auto& view : {std::static_pointer_cast<pf::View>(originBroadcastBtn.lock()),
                           std::static_pointer_cast<pf::View>(originCommentsBtn.lock()),
                           std::static_pointer_cast<pf::View>(originalBroadcastNum.lock()),
                           std::static_pointer_cast<pf::View>(originalCommentsNum.lock())})
    blgDetailCellMoveToY(*view, inner + gap);
  auto center = orginBGCenter.lock();
  center->setFrame(pf::Rect(top->frame().minX(), top->frame().maxY(), top->frame().width(),
                            originCommentsBtn.lock()->frame().maxY() - top->frame().maxY() + gap));
  auto foot = orginBGBottom.lock();
  blgDetailCellMoveTo(*foot, top->frame().minX(), center->frame().maxY());
  return std::max(bottom, foot->frame().maxY());
}
