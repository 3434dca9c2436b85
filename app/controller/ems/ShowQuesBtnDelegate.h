#pragma once
// Told which numbered button of the all-questions sheet was tapped.

class ShowQuesBtnDelegate {
 public:
  virtual ~ShowQuesBtnDelegate() = default;
  virtual void showQuesWithNo(int number) = 0;
};
