#pragma once
// Told by the question row that its edit control was tapped. Optional.

class AnsQuesDetailCellDelegate {
 public:
  virtual ~AnsQuesDetailCellDelegate() = default;
  virtual void editQuestion() {}
};
