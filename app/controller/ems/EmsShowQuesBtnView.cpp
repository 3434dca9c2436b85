#include "app/controller/ems/EmsShowQuesBtnView.h"

void EmsShowQuesBtnView::bgBtnClick() {
  if (auto target = delegate.lock(); target && position > 0) target->showQuesWithNo(position);
}
