#pragma once
// What the catalogue list tells its frame: the catalogue's total, for the title.

class CmsAllTableViewDelegate {
 public:
  virtual ~CmsAllTableViewDelegate() = default;
  virtual void updateTitleWithNum(long long num) = 0;
};
