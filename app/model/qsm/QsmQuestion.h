#pragma once
// One survey question with its options. The learner's answer lives here while the survey is open:
// selected on the options and inputText on the question, both set by the screens and never saved.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/model/cmn/BaseDomain.h"
#include "app/model/qsm/QsmQuestionOption.h"

class QsmQuestion : public BaseDomain {
  PF_OBJECT(QsmQuestion, BaseDomain)

  using Options = std::vector<std::shared_ptr<QsmQuestionOption>>;

  static constexpr char kSingleSelect[] = "SINGLE_SELECT";
  static constexpr char kMultipleSelect[] = "MUTIPLE_SELECT";
  static constexpr char kFreeText[] = "QUESTION";
  static constexpr char kGapFilling[] = "GAP_FILLING";

  std::optional<std::string> questionId;
  std::optional<std::string> paperId;
  std::optional<std::string> questionType;
  std::optional<std::string> content;
  int showOrder = 0;
  // The property "description"; it is also what description() answers.
  std::optional<std::string> descriptionText;
  std::optional<std::string> fileId;
  std::optional<std::string> fileName;
  std::optional<std::string> fileUrl;
  std::optional<Options> items;
  std::optional<std::string> surveyId;
  std::optional<std::string> inputText;

  // The chosen options, in option order.
  Options selectedItems() const;
  std::shared_ptr<QsmQuestionOption> firstOrDefaultSelectedItem() const;
  bool lastOptionSelected() const;
  // Free-text and fill-in questions, and choice questions with an option that opens a text field.
  bool canInputText() const;
  // Whether the answering screen may move on from this question.
  bool isAnswered() const;

  std::string description() const override;

  static void declareProperties(pf::ClassBuilder<QsmQuestion>& b);

 private:
  bool hasInputText() const;
  bool anySelected() const;
};
