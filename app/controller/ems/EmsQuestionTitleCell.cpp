#include "app/controller/ems/EmsQuestionTitleCell.h"

#include "platform/ui/Label.h"
#include "ui/extension/LabelKivExtension.h"

void EmsQuestionTitleCell::layoutSubviews() {
  BaseQuestionCell::layoutSubviews();
  if (auto label = contentLabel.lock()) LabelKivExtension::resetFrameToFit(*label);
}
