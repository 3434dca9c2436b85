#include "app/controller/ems/EmsQuestionTextViewCell.h"

#include "ui/base/BaseTextView.h"

void EmsQuestionTextViewCell::setReadonly(bool readonly) {
  BaseQuestionCell::setReadonly(readonly);
  if (auto text = contentTextView.lock()) text->setUserInteractionEnabled(!readonly);
}

void EmsQuestionTextViewCell::clearText() {
  if (auto text = contentTextView.lock()) text->setText("");
}
