#pragma once
// One numbered button of the all-questions sheet, with the right or wrong mark in view-answers mode.
// A tap reports its number to the delegate.

#include <memory>

#include "app/controller/ems/ShowQuesBtnDelegate.h"
#include "platform/ui/View.h"

namespace pf {
class Button;
class ImageView;
class Label;
}  // namespace pf

class EmsShowQuesBtnView : public pf::View {
  PF_OBJECT(EmsShowQuesBtnView, pf::View)

  using pf::View::View;

  std::weak_ptr<ShowQuesBtnDelegate> delegate;
  std::weak_ptr<pf::Button> bgBtn;
  std::weak_ptr<pf::Label> quesNoLabel;
  std::weak_ptr<pf::ImageView> resultImageView;
  // The question's place in the paper from 1; the label shows its own number, which may differ.
  int position = 0;

  void bgBtnClick();
};
