#pragma once
// One page of the featured courses: the course's large cover, its name, its promotion text and a
// button that opens the course. Loaded from its interface file.
//
// Main thread only.

#include <memory>

#include "platform/ui/View.h"

namespace pf {
class Button;
class ImageView;
class Label;
}  // namespace pf

class RecommandViewDelegate {
 public:
  virtual ~RecommandViewDelegate() = default;
  // The page's button, by page index.
  virtual void pressedBtnWithTag(long tag) = 0;
};

class CmsRecommandView : public pf::View {
  PF_OBJECT(CmsRecommandView, pf::View)

  std::weak_ptr<pf::ImageView> imgView;
  std::weak_ptr<pf::Label> titleLabel;
  std::weak_ptr<pf::Label> contentLabel;
  std::weak_ptr<pf::Button> btn;
  std::weak_ptr<RecommandViewDelegate> delegate;

  void buttonPressed();
  void setFrame(const pf::Rect& frame) override;
};
