#pragma once
// Told by the "more units" row of a downloaded course that the learner wants more of its units.

class CmsScoDownloadedCellDelegate {
 public:
  virtual ~CmsScoDownloadedCellDelegate() = default;
  virtual void selectedMoreChapter() {}
};
