// Exam answers read back into a question: the answer text from the server or from the table of
// unfinished answers restored into option selections and typed text, judged against the right answer,
// and encoded again. Encoding what was restored and restoring that again must give the same selections
// and text. Input: one byte choosing the question type, then lines: the right answer, the learner's
// answer, and the option ids.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/model/ems/EmsAnswerCode.h"
#include "app/model/ems/EmsQuestion.h"

namespace {

constexpr const char* kTypes[] = {EmsQuestion::kSingle, EmsQuestion::kMultiple, EmsQuestion::kJudgment,
                                  EmsQuestion::kAscertain, EmsQuestion::kFill, EmsQuestion::kQuestions, "ESSAY"};

std::vector<std::string> lines(std::string_view text) {
  std::vector<std::string> result;
  while (true) {
    const std::size_t end = text.find('\n');
    result.emplace_back(text.substr(0, end));
    if (end == std::string_view::npos) return result;
    text.remove_prefix(end + 1);
  }
}

struct Restored {
  std::vector<bool> selected;
  std::string text;
  bool operator==(const Restored&) const = default;
};

// Restores the question from its answer and takes down what that selected and typed.
Restored restore(EmsQuestion& question) {
  question.restoreFromUserAnswer();
  Restored restored;
  for (const auto& item : question.items) restored.selected.push_back(item->selected);
  restored.text = question.inputText.value_or("");
  return restored;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view text(reinterpret_cast<const char*>(bytes + 1), size - 1);
  const std::vector<std::string> parts = lines(text);
  const std::vector<std::string_view> split = EmsAnswerCode::split(text);
  if (EmsAnswerCode::join(std::vector<std::string>(split.begin(), split.end())) != text) {
    std::fprintf(stderr, "split and join do not round trip\n");
    std::abort();
  }

  EmsQuestion question;
  question.type = kTypes[bytes[0] % std::size(kTypes)];
  question.score = 5;
  question.answer = parts[0];
  if (parts.size() > 1) question.userAnswer = parts[1];
  question.makeTrueFalseItems();
  // Options belong to choice questions; ids holding a grave accent cannot be told apart from the
  // separator in an answer.
  const bool choice = question.isOfType(EmsQuestion::kSingle) || question.isOfType(EmsQuestion::kMultiple);
  for (std::size_t i = 2; choice && i < parts.size(); ++i) {
    if (parts[i].find('`') != std::string::npos) continue;
    auto item = std::make_shared<EmsQuestionItem>();
    item->itemId = parts[i];
    question.items.push_back(item);
  }

  (void)question.getRightAnswer();
  question.updatePassedAndUserScore();
  const Restored first = restore(question);
  (void)question.isAnswered();
  (void)question.selectedItems();

  question.encodeUserAnswer();
  const std::optional<std::string> encoded = question.userAnswer;
  const Restored second = restore(question);
  if (!(first == second)) {
    std::fprintf(stderr, "restoring the encoded answer \"%s\" differs\n", encoded.value_or("(nil)").c_str());
    std::abort();
  }
  return 0;
}
