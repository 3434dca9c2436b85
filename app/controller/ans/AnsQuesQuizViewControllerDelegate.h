#pragma once
// Told by the ask screen that a question was published (the topic screen raises its count).

class AnsQuesQuizViewControllerDelegate {
 public:
  virtual ~AnsQuesQuizViewControllerDelegate() = default;
  virtual void resetNumber() = 0;
};
