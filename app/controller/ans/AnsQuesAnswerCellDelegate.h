#pragma once
// Told by an answer row that its praise or edit control was tapped. agreeAnswer answers whether the
// praise was taken (the row then hides its control); nullopt when not implemented. Both optional.

#include <memory>
#include <optional>

class Answer;

class AnsQuesAnswerCellDelegate {
 public:
  virtual ~AnsQuesAnswerCellDelegate() = default;
  virtual std::optional<bool> agreeAnswer(const std::shared_ptr<Answer>& answer) {
    (void)answer;
    return std::nullopt;
  }
  virtual void editAnswer(const std::shared_ptr<Answer>& answer) { (void)answer; }
};
