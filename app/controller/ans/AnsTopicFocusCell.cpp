#include "app/controller/ans/AnsTopicFocusCell.h"

#include "app/controller/ans/AnsTopicFocusCellDelegate.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

void AnsTopicFocusCell::awakeFromNib() {
  pf::TableViewCell::awakeFromNib();
  setSelectionStyle(SelectionStyle::None);
  setFocused(false);
}

void AnsTopicFocusCell::setFocused(bool focused) {
  focused_ = focused;
  if (auto background = cellBgView.lock()) background->setHighlighted(focused);
  if (auto button = focusedBtn.lock()) button->setHighlighted(focused);
  if (auto label = focusLabel.lock()) label->setText(focused ? kFollowedText : kUnfollowedText);
}

void AnsTopicFocusCell::focusedBtnClick(const pf::ObjectPtr&) {
  setFocused(!focused_);
  auto listener = delegate.lock();
  if (listener && selectTopic) listener->clickTopic(selectTopic);
}
