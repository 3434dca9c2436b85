#include "app/model/ems/EmsQuestionItem.h"

#include <cmath>

std::optional<char> EmsQuestionItem::letter() const {
  const float whole = std::trunc(showOrder);
  if (!(whole >= 1 && whole <= 26)) return std::nullopt;
  return static_cast<char>('A' + static_cast<int>(whole) - 1);
}

void EmsQuestionItem::declareProperties(pf::ClassBuilder<EmsQuestionItem>& b) {
  PF_PROPERTY(b, itemId);
  PF_PROPERTY(b, questionId);
  PF_PROPERTY(b, content);
  PF_PROPERTY(b, correct);
  PF_PROPERTY(b, showOrder);
  // Sorted out on the device from the question's attachments: no answer sets them.
  PF_READONLY(b, refAttaments);
  PF_PROPERTY(b, selected);
}
