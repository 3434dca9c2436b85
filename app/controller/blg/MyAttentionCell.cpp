#include "app/controller/blg/MyAttentionCell.h"

#include "app/controller/blg/BlgAttentionButton.h"
#include "app/controller/blg/BlgAttentionCellDelegate.h"
#include "platform/ui/Button.h"

void MyAttentionCell::attentionBtnTapped() {
  if (auto delegate = attentionDelegate.lock()) delegate->attentionBtnPressedWithCell(*this);
}

void MyAttentionCell::updateAttentionBtnState(bool following) {
  if (auto button = attentionBtn.lock()) BlgAttentionButton::show(*button, following);
}
