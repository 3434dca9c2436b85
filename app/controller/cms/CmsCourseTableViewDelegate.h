#pragma once
// What a course list tells its frame: a course was chosen (the frames lock the side menu then).

class CmsCourseTableViewDelegate {
 public:
  virtual ~CmsCourseTableViewDelegate() = default;
  virtual void tableViewDidSelectItem() = 0;
};
