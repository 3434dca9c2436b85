#include "app/model/qsm/QsmQuestion.h"

#include <algorithm>

QsmQuestion::Options QsmQuestion::selectedItems() const {
  Options selected;
  if (!items) return selected;
  std::copy_if(items->begin(), items->end(), std::back_inserter(selected),
               [](const auto& option) { return option && option->selected; });
  return selected;
}

std::shared_ptr<QsmQuestionOption> QsmQuestion::firstOrDefaultSelectedItem() const {
  if (!items) return nullptr;
  const auto found = std::find_if(items->begin(), items->end(),
                                  [](const auto& option) { return option && option->selected; });
  return found == items->end() ? nullptr : *found;
}

bool QsmQuestion::lastOptionSelected() const {
  if (!items || items->empty() || !items->back()) return false;
  return items->back()->selected;
}

bool QsmQuestion::canInputText() const {
  if (questionType == kFreeText || questionType == kGapFilling) return true;
  if (questionType != kSingleSelect && questionType != kMultipleSelect) return false;
  return items && std::any_of(items->begin(), items->end(),
                              [](const auto& option) { return option && option->allowInput; });
}

bool QsmQuestion::isAnswered() const {
  if (!items || items->empty()) return hasInputText();
  if (canInputText() && lastOptionSelected()) return hasInputText();
  return anySelected();
}

std::string QsmQuestion::description() const {
  return descriptionText.value_or("");
}

bool QsmQuestion::hasInputText() const {
  return inputText && !inputText->empty();
}

bool QsmQuestion::anySelected() const {
  return firstOrDefaultSelectedItem() != nullptr;
}

void QsmQuestion::declareProperties(pf::ClassBuilder<QsmQuestion>& b) {
  PF_PROPERTY(b, questionId);
  PF_PROPERTY(b, paperId);
  PF_PROPERTY(b, questionType);
  PF_PROPERTY(b, content);
  PF_PROPERTY(b, showOrder);
  b.property("description", &QsmQuestion::descriptionText);
  PF_PROPERTY(b, fileId);
  PF_PROPERTY(b, fileName);
  PF_PROPERTY(b, fileUrl);
  PF_PROPERTY(b, items);
  PF_PROPERTY(b, surveyId);
  PF_PROPERTY(b, inputText);
}
