#pragma once
// What the learner's course list tells its frame: how many rows it shows, for the title.

class MyTableViewDelegate {
 public:
  virtual ~MyTableViewDelegate() = default;
  virtual void updateTitleViewWithNum(unsigned num) = 0;
};
