#pragma once
// One question of a paper: its right answer and the learner's, both in the answer encoding of
// EmsAnswerCode, its options, its pictures, and how it is judged and shown by type.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/model/cmn/BaseDomain.h"
#include "app/model/ems/EmsAnswerCode.h"
#include "app/model/ems/EmsAttachment.h"
#include "app/model/ems/EmsQuestionItem.h"

class EmsQuestion : public BaseDomain {
  PF_OBJECT(EmsQuestion, BaseDomain)

  static constexpr char kSingle[] = "SINGLE";
  static constexpr char kMultiple[] = "MULTIPLE";
  static constexpr char kJudgment[] = "JUDGMENT";
  // True or false, with an explanation typed while "false" is chosen.
  static constexpr char kAscertain[] = "ASCERTAIN";
  static constexpr char kFill[] = "FILL";
  static constexpr char kQuestions[] = "QUESTIONS";

  static constexpr char kTrueId[] = "true";
  static constexpr char kFalseId[] = "false";
  static constexpr char kTrueText[] = "正确";
  static constexpr char kFalseText[] = "错误";

  std::optional<std::string> questionId;
  std::optional<std::string> paperId;
  std::optional<std::string> type;
  std::optional<std::string> content;
  float score = 0;
  float userScore = 0;
  bool passed = false;
  std::optional<std::string> answer;
  std::optional<std::string> userAnswer;
  std::optional<std::string> analyze;
  int showOrder = 0;
  std::vector<std::shared_ptr<EmsQuestionItem>> items;
  // Every picture of the question and its options, as delivered.
  std::vector<std::shared_ptr<EmsAttachment>> attachments;
  // The pictures of the question itself.
  std::vector<std::shared_ptr<EmsAttachment>> refAttaments;
  std::optional<std::string> inputText;
  bool showRightAnswer = false;

  bool canAutoJudge() const;
  bool canInputText() const;
  int optionCount() const;
  std::string getRightAnswer() const;
  // Sets passed and userScore from the two answers; changes nothing while either is missing.
  void updatePassedAndUserScore();
  std::vector<std::shared_ptr<EmsQuestionItem>> selectedItems() const;
  std::shared_ptr<EmsQuestionItem> firstOrDefaultSelectedItem() const;
  bool isAnswered() const;
  // Whether userAnswer chose the option of that id (exactly that id, see EmsAnswerCode).
  bool isSelectedItem(const std::optional<std::string>& itemId) const;
  // The typed part of userAnswer: all of it for typed questions, the text after the chosen option
  // for ASCERTAIN, else nullopt.
  std::optional<std::string> getAnswerText() const;
  std::shared_ptr<EmsQuestionItem> itemForId(const std::string& sid) const;

  // Option selections and typed text from userAnswer.
  void restoreFromUserAnswer();
  // userAnswer from the option selections and the typed text.
  void encodeUserAnswer();
  // True/false questions come without options: they get the two the learner chooses from.
  void makeTrueFalseItems();

  // How this question's answers are laid out.
  EmsAnswerCode::Form answerForm() const;
  bool isOfType(const char* code) const { return type == code; }
  bool isTrueFalse() const { return isOfType(kJudgment) || isOfType(kAscertain); }

  static void declareProperties(pf::ClassBuilder<EmsQuestion>& b);
};
