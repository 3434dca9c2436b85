#include "app/controller/ans/AnsQuesAnswerCountCell.h"

#include "platform/ui/Label.h"
#include "ui/extension/ColorExpanded.h"

void AnsQuesAnswerCountCell::awakeFromNib() {
  pf::TableViewCell::awakeFromNib();
  setSelectionStyle(SelectionStyle::None);
}

void AnsQuesAnswerCountCell::layoutSubviews() {
  pf::TableViewCell::layoutSubviews();
  if (auto label = answerCountLabel.lock())
    label->setTextColor(ColorExpanded::colorWithHexString("105CB6").value_or(pf::Color::fromWhite(0)));
}
