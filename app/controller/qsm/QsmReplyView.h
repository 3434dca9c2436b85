#pragma once
// One earlier reply under a survey's description: its title, its text and who wrote it when, over a
// three-part background that grows with the text.

#include <memory>

#include "platform/ui/View.h"

namespace pf {
class ImageView;
class Label;
}  // namespace pf

class QsmReplyView : public pf::View {
  PF_OBJECT(QsmReplyView, pf::View)

  using pf::View::View;

  std::weak_ptr<pf::Label> titleLabel;
  std::weak_ptr<pf::Label> contentLabel;
  std::weak_ptr<pf::Label> replyInfoLabel;
  std::weak_ptr<pf::ImageView> bgTopImageView;
  std::weak_ptr<pf::ImageView> bgMidImageView;
  std::weak_ptr<pf::ImageView> bgBtmImageView;

  // Fits the texts and stacks the parts under each other (x and widths kept).
  void initSubViewFrames();
};
