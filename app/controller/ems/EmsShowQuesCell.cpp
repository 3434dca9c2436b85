#include "app/controller/ems/EmsShowQuesCell.h"

#include "app/controller/ems/EmsShowQuesBtnView.h"
#include "app/util/ViewUtil.h"

void EmsShowQuesCell::initBtnViews(const std::weak_ptr<ShowQuesBtnDelegate>& delegate) {
  btnViews.clear();
  for (int i = 0; i < kButtonsPerRow; ++i) {
    auto button = std::dynamic_pointer_cast<EmsShowQuesBtnView>(ViewUtil::viewFromNibOfClass(EmsShowQuesBtnView::kClassName));
    pf::Rect frame = button->frame();
    frame.origin = pf::Point(i * frame.width(), 0);
    button->setFrame(frame);
    button->delegate = delegate;
    contentView()->addSubview(button);
    btnViews.push_back(button);
  }
}
