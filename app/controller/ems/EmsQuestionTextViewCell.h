#pragma once
// The row where a question takes typed text; the text view takes touches only when writable.

#include <memory>

#include "app/controller/ems/BaseQuestionCell.h"

class BaseTextView;

class EmsQuestionTextViewCell : public BaseQuestionCell {
  PF_OBJECT(EmsQuestionTextViewCell, BaseQuestionCell)

  using BaseQuestionCell::BaseQuestionCell;

  std::weak_ptr<BaseTextView> contentTextView;

  void setReadonly(bool readonly) override;
  void clearText();
};
