#include "app/model/ems/EmsQuestion.h"

#include <algorithm>

bool EmsQuestion::canAutoJudge() const {
  return isOfType(kSingle) || isOfType(kMultiple) || isOfType(kJudgment);
}

bool EmsQuestion::canInputText() const {
  if (isOfType(kFill) || isOfType(kQuestions)) return true;
  if (!isOfType(kAscertain)) return false;
  const auto chosen = firstOrDefaultSelectedItem();
  return chosen && chosen->itemId == kFalseId;
}

int EmsQuestion::optionCount() const {
  if (isOfType(kSingle) || isOfType(kMultiple)) return static_cast<int>(items.size());
  if (isTrueFalse()) return 2;
  return 0;
}

std::string EmsQuestion::getRightAnswer() const {
  const std::string right = answer.value_or("");
  // Judged the same way as the learner's answer, so "true``" reads as true here too.
  if (isTrueFalse())
    return EmsAnswerCode::comparableRightAnswer(right, true) == kTrueId ? kTrueText : kFalseText;
  if (!isOfType(kSingle) && !isOfType(kMultiple)) return right;
  std::string letters;
  for (std::string_view id : EmsAnswerCode::split(right)) {
    if (id.empty()) continue;
    const auto item = std::ranges::find_if(items, [&](const auto& i) { return i && i->itemId == id; });
    if (item == items.end()) continue;
    if (const auto letter = (*item)->letter()) letters += *letter;
  }
  return letters;
}

void EmsQuestion::updatePassedAndUserScore() {
  if (!answer || answer->empty() || !userAnswer || userAnswer->empty()) return;
  passed = *userAnswer == EmsAnswerCode::comparableRightAnswer(*answer, isOfType(kJudgment));
  userScore = passed ? score : 0;
}

std::vector<std::shared_ptr<EmsQuestionItem>> EmsQuestion::selectedItems() const {
  std::vector<std::shared_ptr<EmsQuestionItem>> chosen;
  std::ranges::copy_if(items, std::back_inserter(chosen), [](const auto& i) { return i && i->selected; });
  return chosen;
}

std::shared_ptr<EmsQuestionItem> EmsQuestion::firstOrDefaultSelectedItem() const {
  const auto it = std::ranges::find_if(items, [](const auto& i) { return i && i->selected; });
  return it == items.end() ? nullptr : *it;
}

bool EmsQuestion::isAnswered() const {
  return firstOrDefaultSelectedItem() != nullptr || (inputText && !inputText->empty());
}

bool EmsQuestion::isSelectedItem(const std::optional<std::string>& itemId) const {
  if (!itemId || itemId->empty() || !userAnswer) return false;
  return EmsAnswerCode::choosesOption(*userAnswer, answerForm(), *itemId);
}

std::optional<std::string> EmsQuestion::getAnswerText() const {
  if (isOfType(kFill) || isOfType(kQuestions)) return userAnswer;
  if (!isOfType(kAscertain) || !userAnswer) return std::nullopt;
  return EmsAnswerCode::parse(*userAnswer, EmsAnswerCode::Form::OptionWithText).text;
}

std::shared_ptr<EmsQuestionItem> EmsQuestion::itemForId(const std::string& sid) const {
  const auto it = std::ranges::find_if(items, [&](const auto& i) { return i && i->sid == sid; });
  return it == items.end() ? nullptr : *it;
}

EmsAnswerCode::Form EmsQuestion::answerForm() const {
  if (isOfType(kFill) || isOfType(kQuestions)) return EmsAnswerCode::Form::Text;
  if (isOfType(kAscertain)) return EmsAnswerCode::Form::OptionWithText;
  return EmsAnswerCode::Form::Options;
}

void EmsQuestion::declareProperties(pf::ClassBuilder<EmsQuestion>& b) {
  PF_PROPERTY(b, questionId);
  PF_PROPERTY(b, paperId);
  PF_PROPERTY(b, type);
  PF_PROPERTY(b, content);
  PF_PROPERTY(b, score);
  PF_PROPERTY(b, userScore);
  PF_PROPERTY(b, passed);
  PF_PROPERTY(b, answer);
  PF_PROPERTY(b, userAnswer);
  PF_PROPERTY(b, analyze);
  PF_PROPERTY(b, showOrder);
  PF_PROPERTY(b, items);
  PF_PROPERTY(b, attachments);
  // Sorted out on the device from the question's attachments: no answer sets them.
  PF_READONLY(b, refAttaments);
  PF_PROPERTY(b, inputText);
  PF_PROPERTY(b, showRightAnswer);
}

void EmsQuestion::restoreFromUserAnswer() {
  for (const auto& item : items) {
    if (item) item->selected = isSelectedItem(item->itemId);
  }
  inputText = canInputText() ? getAnswerText() : std::optional<std::string>("");
}

void EmsQuestion::encodeUserAnswer() {
  const bool typed = inputText && !inputText->empty();
  std::optional<std::string> encoded;
  if (!items.empty()) {
    std::vector<std::string> ids;
    for (const auto& item : selectedItems()) {
      if (item->itemId && !item->itemId->empty()) ids.push_back(*item->itemId);
    }
    if (!ids.empty()) encoded = EmsAnswerCode::join(ids);
  } else if (typed) {
    encoded = inputText;
  }
  if (isOfType(kAscertain) && inputText) {
    encoded = encoded.value_or("") + std::string(EmsAnswerCode::kSeparator) + *inputText;
  }
  userAnswer = std::move(encoded);
}

void EmsQuestion::makeTrueFalseItems() {
  if (!isTrueFalse()) return;
  auto made = [&](const char* id, const char* text) {
    auto item = std::make_shared<EmsQuestionItem>();
    item->itemId = id;
    item->content = text;
    item->questionId = questionId;
    return item;
  };
  items = {made(kTrueId, kTrueText), made(kFalseId, kFalseText)};
}
